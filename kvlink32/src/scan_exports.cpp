// Scan control and scan retrieval.
#include "operation_calls.h"

#include <cstring>

namespace kvlink {
namespace {

constexpr int32_t kCommandScansGet = 100;
constexpr int32_t kCommandScansGetLast = 101;
constexpr int32_t kCommandTrigger = 102;
constexpr int32_t kCommandEnable = 103;
constexpr int32_t kCommandDisable = 104;
constexpr int32_t kCommandClear = 123;
constexpr int32_t kCommandCount = 126;
constexpr int32_t kStartNow = 0;
constexpr int32_t kStartAtTime = 1;

struct ScanStart {
    int32_t mode = kStartNow;
    InstrumentTime time{};
    int32_t milliseconds = 0;
};

bool encodeScanStart(MessageWriter &out, void *argument) {
    const auto &start = *static_cast<const ScanStart *>(argument);
    return out.putInt(start.mode) && out.putRaw(&start.time, sizeof start.time) && out.putInt(start.milliseconds);
}

int32_t startScanning(int32_t bcn, const ScanStart &start) {
    return instrumentCall(bcn, Link::Main, [&](Session &session) {
        PayloadCodec codec;
        codec.encode = encodeScanStart;
        codec.argument = const_cast<ScanStart *>(&start);
        return runExchange(session, bcn, Link::Main, kCommandEnable, codec);
    });
}

struct ScanBlockTarget {
    uint8_t *buffer;   // the caller's scan buffer
    uint32_t maxCount; // records it has room for
    int32_t count = 0;
};

bool validRecordSize(int32_t size) {
    return size >= KVX_SCAN_HEADER_SIZE && size <= KVX_MAX_SCAN_RECORD && (size - KVX_SCAN_HEADER_SIZE) % 4 == 0;
}

// The block is checked whole before the first byte reaches the caller's
// buffer, so a malformed reply can never write past the room asked for.
bool decodeScanBlock(MessageReader &in, void *argument) {
    auto &target = *static_cast<ScanBlockTarget *>(argument);
    int32_t recordSize = 0;
    int32_t count = 0;
    uint32_t remaining = 0;
    if (!in.getInt(recordSize) || !in.getInt(count) || !in.getUInt(remaining)) return false;
    if (!validRecordSize(recordSize) || count < 0 || static_cast<uint32_t>(count) > target.maxCount) return false;
    if (in.remaining() != static_cast<size_t>(count) * static_cast<size_t>(recordSize)) return false;

    const ScanBufferHeader header{recordSize, count, remaining};
    std::memcpy(target.buffer, &header, sizeof header);
    const size_t readings = static_cast<size_t>(recordSize - KVX_SCAN_HEADER_SIZE) / 4;
    for (int32_t i = 0; i < count; ++i) {
        ScanRecord record{};
        in.getInt(record.first);
        in.getRaw(&record.time, sizeof record.time);
        in.getUInt(record.msAndDio);
        in.getUInt(record.alarm1);
        in.getUInt(record.alarm2);
        in.getUInt(record.totalizer);
        for (size_t r = 0; r < readings; ++r) in.getFloat(record.readings[r]);
        std::memcpy(target.buffer + sizeof header + static_cast<size_t>(i) * static_cast<size_t>(recordSize), &record,
                    static_cast<size_t>(recordSize));
    }
    target.count = count;
    return true;
}

bool encodeCount(MessageWriter &out, void *argument) {
    return out.putUInt(static_cast<const ScanBlockTarget *>(argument)->maxCount);
}

int32_t fetchScans(int32_t bcn, int32_t command, uint32_t maxCount, void *scanBuffer) {
    return instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        if (maxCount > KVX_MAX_SCANS) return KVX_E_BAD_COUNT;
        ScanBlockTarget target{static_cast<uint8_t *>(scanBuffer), maxCount};
        PayloadCodec codec;
        codec.encode = command == kCommandScansGet ? encodeCount : nullptr;
        codec.decode = decodeScanBlock;
        codec.argument = &target;
        const int32_t result = runExchange(session, bcn, Link::Main, command, codec);
        return result == KVX_OK ? target.count : result;
    });
}

} // namespace
} // namespace kvlink

using kvlink::Link;

extern "C" {

KVX_API int32_t kvxScansEnable(int32_t bcn, int32_t on) {
    if (on == 0) return kvlink::commandCall(bcn, Link::Main, kvlink::kCommandDisable);
    return kvlink::startScanning(bcn, kvlink::ScanStart{});
}

KVX_API int32_t kvxScansEnableAt(int32_t bcn, const InstrumentTime *time, int32_t milliseconds) {
    return kvlink::startScanning(bcn, kvlink::ScanStart{kvlink::kStartAtTime, *time, milliseconds});
}

KVX_API int32_t kvxScansTrigger(int32_t bcn, int32_t value) {
    return kvlink::commandCall(bcn, Link::Main, kvlink::kCommandTrigger, kvlink::ints(value));
}

KVX_API int32_t kvxScansTriggerScan(int32_t bcn) { return kvxScansTrigger(bcn, 1); }

KVX_API int32_t kvxScansClear(int32_t bcn, int32_t value) {
    return kvlink::commandCall(bcn, Link::Main, kvlink::kCommandClear, kvlink::ints(value));
}

KVX_API int32_t kvxScansCount(int32_t bcn, int32_t *count) {
    return kvlink::wordCall(bcn, Link::Main, kvlink::kCommandCount, count);
}

KVX_API int32_t kvxScansGet(int32_t bcn, uint32_t maxCount, void *scanBuffer) {
    return kvlink::fetchScans(bcn, kvlink::kCommandScansGet, maxCount, scanBuffer);
}

KVX_API int32_t kvxScansGetLast(int32_t bcn, void *scanBuffer) {
    return kvlink::fetchScans(bcn, kvlink::kCommandScansGetLast, 1, scanBuffer);
}

} // extern "C"
