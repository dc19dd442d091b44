// The pass-through connection: data carried through the instrument to a
// device on one of its ports.
#include "operation_calls.h"

#include <algorithm>
#include <cstring>

namespace kvlink {
namespace {

constexpr int32_t kCommandEnable = 200;
constexpr int32_t kCommandDisable = 201;
constexpr int32_t kCommandSend = 202;
constexpr int32_t kCommandReceive = 203;
constexpr int32_t kCommandStatus = 204;

bool validPortType(uint32_t type) { return type >= 1 && type <= 128 && (type & (type - 1)) == 0; }

struct Transfer {
    uint8_t data[KVX_PASSTHRU_MAX] = {}; // always sent and received whole
    uint32_t length = 0;                 // bytes meant
};

bool encodeTransfer(MessageWriter &out, void *argument) {
    const auto &transfer = *static_cast<const Transfer *>(argument);
    return out.putUInt(transfer.length) && out.putRaw(transfer.data, sizeof transfer.data);
}

// The count in the reply is the instrument's; a count outside the data area
// cannot be true and is refused rather than trusted.
bool decodeTransfer(MessageReader &in, void *argument) {
    auto &transfer = *static_cast<Transfer *>(argument);
    int32_t count = 0;
    if (!in.getInt(count) || count < 0 || count > KVX_PASSTHRU_MAX) return false;
    transfer.length = static_cast<uint32_t>(count);
    return in.getRaw(transfer.data, sizeof transfer.data);
}

struct StatusPair {
    int32_t first = 0;
    int32_t second = 0;
};

bool decodeStatusPair(MessageReader &in, void *argument) {
    auto &pair = *static_cast<StatusPair *>(argument);
    return in.getInt(pair.first) && in.getInt(pair.second);
}

} // namespace
} // namespace kvlink

using kvlink::Link;
using kvlink::PayloadCodec;
using kvlink::Session;

extern "C" {

KVX_API int32_t kvxPassThruEnable2(int32_t bcn, uint32_t type) {
    return kvlink::instrumentCall(bcn, Link::PassThru, [&](Session &session) -> int32_t {
        if (!kvlink::validPortType(type)) return KVX_E_BAD_PORT_TYPE;
        return kvlink::runCommand(session, bcn, Link::PassThru, kvlink::kCommandEnable,
                                  kvlink::ints(static_cast<int32_t>(type)));
    });
}

KVX_API int32_t kvxPassThruDisable2(int32_t bcn) {
    return kvlink::commandCall(bcn, Link::PassThru, kvlink::kCommandDisable);
}

KVX_API int32_t kvxPassThruSend2(int32_t bcn, const void *data, uint32_t length) {
    return kvlink::instrumentCall(bcn, Link::PassThru, [&](Session &session) -> int32_t {
        if (length > KVX_PASSTHRU_MAX) return KVX_E_TOO_LONG;
        kvlink::Transfer transfer;
        transfer.length = length;
        if (length > 0) std::memcpy(transfer.data, data, length);
        PayloadCodec codec;
        codec.encode = kvlink::encodeTransfer;
        codec.argument = &transfer;
        return kvlink::runExchange(session, bcn, Link::PassThru, kvlink::kCommandSend, codec);
    });
}

KVX_API int32_t kvxPassThruRecv2(int32_t bcn, void *data, uint32_t maxLength) {
    return kvlink::instrumentCall(bcn, Link::PassThru, [&](Session &session) -> int32_t {
        if (maxLength > KVX_PASSTHRU_MAX) return KVX_E_TOO_LONG;
        kvlink::Transfer transfer;
        transfer.length = maxLength;
        PayloadCodec codec;
        codec.encode = [](kvlink::MessageWriter &out, void *argument) {
            return out.putUInt(static_cast<const kvlink::Transfer *>(argument)->length);
        };
        codec.decode = kvlink::decodeTransfer;
        codec.argument = &transfer;
        const int32_t result = kvlink::runExchange(session, bcn, Link::PassThru, kvlink::kCommandReceive, codec);
        if (result != KVX_OK) return result;
        const uint32_t copied = std::min(transfer.length, maxLength);
        if (copied > 0) std::memcpy(data, transfer.data, copied);
        return static_cast<int32_t>(copied);
    });
}

KVX_API int32_t kvxPassThruStatus2(int32_t bcn, int32_t *first, int32_t *second) {
    return kvlink::instrumentCall(bcn, Link::PassThru, [&](Session &session) -> int32_t {
        kvlink::StatusPair pair;
        PayloadCodec codec;
        codec.decode = kvlink::decodeStatusPair;
        codec.argument = &pair;
        const int32_t result = kvlink::runExchange(session, bcn, Link::PassThru, kvlink::kCommandStatus, codec);
        if (result == KVX_OK) {
            *first = pair.first;
            *second = pair.second;
        }
        return result;
    });
}

} // extern "C"
