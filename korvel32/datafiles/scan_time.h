// The calendar time of a scan. Instruments keep local time without daylight
// saving; the run's two daylight states remember whether logging has crossed
// into daylight time, after which the instrument's hour is read one later.
#pragma once

#include <cstdint>
#include <ctime>

#include "kvlink32.h"

namespace korvel {

struct DaylightStates {
    int a = 0; // 1 once daylight time began during the run
    int b = 1; // 0 once a scan fell in standard time
};

struct ScanTime {
    std::int64_t seconds = 0; // calendar second
    std::tm local{};          // local broken-down time, tm_isdst set
};

// Converts the record's time fields, updating the run's daylight states.
ScanTime convertScanTime(const InstrumentTime &time, DaylightStates &states);

} // namespace korvel
