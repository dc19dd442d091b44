// The instrument's own clock: the PC's local time until it is set, then
// running on from the time it was set to.
#pragma once

#include <chrono>

#include "kvlink32.h"

namespace korvelsim {

struct ClockReading {
    InstrumentTime time{};
    int milliseconds = 0;
};

class InstrumentClock {
public:
    ClockReading now() const;
    // False (and the clock unchanged) when the block is no valid local time.
    bool set(const InstrumentTime& time, int milliseconds);

private:
    std::chrono::milliseconds offset_{0};
};

}  // namespace korvelsim
