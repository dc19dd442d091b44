// Trend Link keeps times as milliseconds since 1970 GMT, held as doubles.
#pragma once

#include "datafiles/scan_time.h"
#include "platform/clock.h"

#include <cstdint>

namespace korvel {

class TrendLinkLibrary;

// A scan's time fields (read with the run's daylight states as the data
// files read them) converted to GMT by the historian's time conversion.
double trendLinkTime(const ScanRecord &scan, DaylightStates &daylight, TrendLinkLibrary &library);

// The PC's clock reading.
double trendLinkTime(CalendarTime time);

// The next time the local clock shows minutesAfterMidnight, from now on.
double nextTimeOfDay(std::int64_t now, unsigned minutesAfterMidnight, TrendLinkLibrary &library);

} // namespace korvel
