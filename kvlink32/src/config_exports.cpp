// kvxConfigSet and kvxConfigGet: the configuration block is validated and
// converted on a copy before it travels, and turned back into currents when
// it is read. The caller's block is never touched on the way out.
#include "config_codec.h"
#include "config_validation.h"
#include "current_conversion.h"
#include "exchange.h"
#include "library_state.h"

namespace kvlink {
namespace {

constexpr int32_t kCommandConfigGet1 = 107;
constexpr int32_t kCommandConfigSet1 = 108;
constexpr int32_t kCommandConfigGet2 = 128;
constexpr int32_t kCommandConfigSet2 = 129;

constexpr int32_t kTypeWithoutEquations = 1;
constexpr int32_t kTypeWithEquations = 2;

bool knownType(int32_t type) { return type == kTypeWithoutEquations || type == kTypeWithEquations; }

struct ConfigTransfer {
    InstrumentConfig *config;
    bool withEquations;
};

bool encodeTransfer(MessageWriter &out, void *argument) {
    const auto &transfer = *static_cast<const ConfigTransfer *>(argument);
    return encodeConfig(out, *transfer.config, transfer.withEquations);
}

bool decodeTransfer(MessageReader &in, void *argument) {
    const auto &transfer = *static_cast<const ConfigTransfer *>(argument);
    return decodeConfig(in, *transfer.config, transfer.withEquations);
}

int32_t sendConfig(Session &session, int32_t bcn, int32_t type, const InstrumentConfig &config, int32_t *detail) {
    if (detail != nullptr) *detail = DetailNone;
    InstrumentConfig sent = config;
    int32_t problem = validateConfig(config, session.model);
    if (problem == DetailNone) problem = convertCurrentChannels(sent);
    if (problem != DetailNone) {
        if (detail != nullptr) *detail = problem;
        return KVX_E_BAD_CONFIG;
    }
    if (!knownType(type)) return KVX_E_BAD_MODEL_TYPE;
    ConfigTransfer transfer{&sent, type == kTypeWithEquations};
    const int32_t command = type == kTypeWithEquations ? kCommandConfigSet2 : kCommandConfigSet1;
    return runExchange(session, bcn, Link::Main, command, PayloadCodec{encodeTransfer, nullptr, &transfer});
}

int32_t receiveConfig(Session &session, int32_t bcn, int32_t type, InstrumentConfig &config) {
    if (!knownType(type)) return KVX_E_BAD_MODEL_TYPE;
    InstrumentConfig received{}; // a type 1 block leaves the equation area zero
    ConfigTransfer transfer{&received, type == kTypeWithEquations};
    const int32_t command = type == kTypeWithEquations ? kCommandConfigGet2 : kCommandConfigGet1;
    const int32_t result =
        runExchange(session, bcn, Link::Main, command, PayloadCodec{nullptr, decodeTransfer, &transfer});
    if (result != KVX_OK) return result;
    restoreCurrentChannels(received);
    config = received;
    return KVX_OK;
}

} // namespace
} // namespace kvlink

extern "C" {

KVX_API int32_t kvxConfigSet(int32_t bcn, int32_t type, const InstrumentConfig *config, int32_t *detail) {
    return kvlink::instrumentCall(bcn, kvlink::Link::Main, [&](kvlink::Session &session) {
        return kvlink::sendConfig(session, bcn, type, *config, detail);
    });
}

KVX_API int32_t kvxConfigGet(int32_t bcn, int32_t type, InstrumentConfig *config) {
    return kvlink::instrumentCall(bcn, kvlink::Link::Main, [&](kvlink::Session &session) {
        return kvlink::receiveConfig(session, bcn, type, *config);
    });
}

} // extern "C"
