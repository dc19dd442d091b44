// Live readings, the monitor channel, digital I/O and the totalizer.
#include "operation_calls.h"

namespace kvlink {
namespace {

constexpr int32_t kCommandDioGet = 109;
constexpr int32_t kCommandDioSet = 110;
constexpr int32_t kCommandSpyGet = 111;
constexpr int32_t kCommandTotalizerGet = 112;
constexpr int32_t kCommandTotalizerClear = 113;
constexpr int32_t kCommandMonitorOn = 117;
constexpr int32_t kCommandMonitorOff = 118;
constexpr int32_t kCommandSpyOn = 124;
constexpr int32_t kCommandSpyOff = 125;
constexpr int32_t kCommandDioSet2 = 205;
constexpr int32_t kCommandTotalizerClear2 = 206;

bool validChannel(uint32_t channel) { return channel >= 1 && channel <= KVX_MAX_CHANNELS; }

} // namespace
} // namespace kvlink

using kvlink::Link;
using kvlink::Session;

extern "C" {

KVX_API int32_t kvxSpyGet(uint32_t channelId, float *reading) {
    const auto bcn = static_cast<int32_t>(channelId / 100);
    const uint32_t channel = channelId % 100;
    return kvlink::instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        if (!kvlink::validChannel(channel)) return KVX_E_BAD_CHANNEL;
        uint32_t word = 0;
        const int32_t result = kvlink::runCommand(session, bcn, Link::Main, kvlink::kCommandSpyGet,
                                                  kvlink::ints(static_cast<int32_t>(channel)), &word);
        if (result == KVX_INST_NO_READING) return 0; // no reading yet: nothing to show, no failure
        if (result == KVX_OK) kvlink::storeWord(word, reading);
        return result;
    });
}

KVX_API int32_t kvxSpyEnable(int32_t bcn, int32_t on) {
    return kvlink::commandCall(bcn, Link::Main, on != 0 ? kvlink::kCommandSpyOn : kvlink::kCommandSpyOff);
}

KVX_API int32_t kvxInstMonitor(int32_t bcn, int32_t on, uint32_t channel) {
    return kvlink::instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        if (on == 0) return kvlink::runCommand(session, bcn, Link::Main, kvlink::kCommandMonitorOff);
        if (!kvlink::validChannel(channel)) return KVX_E_BAD_CHANNEL;
        return kvlink::runCommand(session, bcn, Link::Main, kvlink::kCommandMonitorOn,
                                  kvlink::ints(static_cast<int32_t>(channel)));
    });
}

KVX_API int32_t kvxDIOGet(int32_t bcn, int32_t *value) {
    return kvlink::wordCall(bcn, Link::Main, kvlink::kCommandDioGet, value);
}

KVX_API int32_t kvxDIOSet(int32_t bcn, int32_t first, int32_t second) {
    return kvlink::commandCall(bcn, Link::Main, kvlink::kCommandDioSet, kvlink::ints(first, second));
}

KVX_API int32_t kvxDIOSet2(int32_t bcn, int32_t first, int32_t second) {
    return kvlink::commandCall(bcn, Link::PassThru, kvlink::kCommandDioSet2, kvlink::ints(first, second));
}

KVX_API int32_t kvxTotalizerGet(int32_t bcn, int32_t *value) {
    return kvlink::wordCall(bcn, Link::Main, kvlink::kCommandTotalizerGet, value);
}

KVX_API int32_t kvxTotalizerClear(int32_t bcn) {
    return kvlink::commandCall(bcn, Link::Main, kvlink::kCommandTotalizerClear);
}

KVX_API int32_t kvxTotalizerClear2(int32_t bcn) {
    return kvlink::commandCall(bcn, Link::PassThru, kvlink::kCommandTotalizerClear2);
}

} // extern "C"
