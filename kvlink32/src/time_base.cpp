#include "time_base.h"

#include <ctime>

namespace kvlink {
namespace {

// Past this age the base is renewed, long before the 32-bit tick wraps.
constexpr int64_t kMaxBaseAgeSeconds = 4147200; // 48 days

struct TimeBase {
    int64_t baseSeconds = 0;
    uint32_t baseTicks = 0;
    bool resyncPending = true;
};

TimeBase timeBase;

// Places the base on a whole second of the calendar clock: the tick that
// corresponds to the start of the current calendar second.
void synchronise() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const uint32_t tick = tickMs();
    timeBase.baseSeconds = now.tv_sec;
    timeBase.baseTicks = tick - static_cast<uint32_t>(now.tv_nsec / 1000000);
    timeBase.resyncPending = false;
}

} // namespace

uint32_t tickMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void markTimeBaseForResync() { timeBase.resyncPending = true; }

void readPcTime(int64_t &seconds, int32_t &milliseconds) {
    if (timeBase.resyncPending) synchronise();
    uint32_t tick = tickMs();
    const int64_t calendar = static_cast<int64_t>(time(nullptr));
    if (tick < timeBase.baseTicks || calendar - timeBase.baseSeconds > kMaxBaseAgeSeconds) {
        synchronise();
        tick = tickMs();
    }
    const uint32_t elapsed = tick - timeBase.baseTicks;
    seconds = timeBase.baseSeconds + elapsed / 1000;
    milliseconds = static_cast<int32_t>(elapsed % 1000);
}

} // namespace kvlink
