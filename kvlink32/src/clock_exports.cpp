// The instrument's clock: reading it, and setting it to the PC's local time.
#include "operation_calls.h"
#include "time_base.h"

#include <ctime>

namespace kvlink {
namespace {

constexpr int32_t kCommandTimeGet = 105;
constexpr int32_t kCommandTimeSet = 106;

struct ClockReading {
    InstrumentTime time{};
    int32_t milliseconds = 0;
};

bool encodeClock(MessageWriter &out, void *argument) {
    const auto &clock = *static_cast<const ClockReading *>(argument);
    return out.putRaw(&clock.time, sizeof clock.time) && out.putInt(clock.milliseconds);
}

bool decodeClock(MessageReader &in, void *argument) {
    auto &clock = *static_cast<ClockReading *>(argument);
    return in.getRaw(&clock.time, sizeof clock.time) && in.getInt(clock.milliseconds);
}

bool localPcTime(ClockReading &clock) {
    int64_t seconds = 0;
    readPcTime(seconds, clock.milliseconds);
    const time_t calendar = static_cast<time_t>(seconds);
    tm local{};
    if (localtime_r(&calendar, &local) == nullptr) return false;
    clock.time.hour = static_cast<uint8_t>(local.tm_hour);
    clock.time.minute = static_cast<uint8_t>(local.tm_min);
    clock.time.second = static_cast<uint8_t>(local.tm_sec);
    clock.time.month = static_cast<uint8_t>(local.tm_mon + 1);
    clock.time.day = static_cast<uint8_t>(local.tm_mday);
    clock.time.year = static_cast<uint8_t>(local.tm_year % 100);
    return true;
}

} // namespace
} // namespace kvlink

using kvlink::Link;
using kvlink::Session;

extern "C" {

KVX_API int32_t kvxTimeSet(int32_t bcn) {
    return kvlink::instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        kvlink::ClockReading clock;
        if (!kvlink::localPcTime(clock)) return KVX_E_TIME;
        kvlink::PayloadCodec codec;
        codec.encode = kvlink::encodeClock;
        codec.argument = &clock;
        return kvlink::runExchange(session, bcn, Link::Main, kvlink::kCommandTimeSet, codec);
    });
}

KVX_API int32_t kvxTimeGet(int32_t bcn, InstrumentTime *time, int32_t *milliseconds) {
    return kvlink::instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        kvlink::ClockReading clock;
        kvlink::PayloadCodec codec;
        codec.decode = kvlink::decodeClock;
        codec.argument = &clock;
        const int32_t result = kvlink::runExchange(session, bcn, Link::Main, kvlink::kCommandTimeGet, codec);
        if (result == KVX_OK) {
            *time = clock.time;
            *milliseconds = clock.milliseconds;
        }
        return result;
    });
}

} // extern "C"
