// The instrument's own clock: the PC's local time until it is set, then
// running on from the time it was set to. Scans are stamped from monotonic
// instants, so that a late process still stamps each scan with its due time.
#pragma once

#include <chrono>
#include <optional>

#include "kvlink32.h"

namespace korvelsim {

using SteadyClock = std::chrono::steady_clock;

struct ClockReading {
    InstrumentTime time{};
    int milliseconds = 0;
};

class InstrumentClock {
public:
    ClockReading now() const { return readingAt(SteadyClock::now()); }
    // What the clock shows (or showed, or will show) at a monotonic instant.
    ClockReading readingAt(SteadyClock::time_point instant) const;
    // The monotonic instant at which the clock shows this time; none when the
    // block is no valid local time.
    std::optional<SteadyClock::time_point> instantOf(const InstrumentTime &time, int milliseconds) const;
    // Shows this time from the instant at on; false (and the clock unchanged)
    // when the block is no valid local time.
    bool set(const InstrumentTime &time, int milliseconds, SteadyClock::time_point at);

private:
    // The clock shows base_ (milliseconds since the epoch, local calendar)
    // at the monotonic instant anchor_ and runs on from there.
    SteadyClock::time_point anchor_ = SteadyClock::now();
    std::chrono::milliseconds base_ =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
};

} // namespace korvelsim
