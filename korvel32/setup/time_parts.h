// Stored durations split into the hours, minutes and seconds that the
// dialogs and the report show, with the hours capped at what a field holds.
#pragma once

#include <cstdint>

namespace korvel {

// The duration fields hold at most 999 hours and 99 minutes.
constexpr unsigned kMostDurationHours = 999;
constexpr unsigned kMostDurationMinutes = 99;

struct DurationParts {
    unsigned hours = 0;
    unsigned minutes = 0;
    unsigned seconds = 0;
};

// Hours capped at 999, the minutes left capped at 99, then the seconds of the minute.
DurationParts durationParts(std::uint32_t seconds);

struct PeriodParts {
    unsigned hours = 0;
    unsigned minutes = 0;
};

// A batch period of 1000 hours or more reads 999 hours and the excess minutes.
PeriodParts batchPeriodParts(std::uint16_t minutes);

} // namespace korvel
