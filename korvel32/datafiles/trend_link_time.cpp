#include "datafiles/trend_link_time.h"

#include "datafiles/trend_link_library.h"
#include "setup/scan_fields.h"

#include <cmath>

namespace korvel {
namespace {

constexpr double kMillisecondsPerSecond = 1000.0;

std::int64_t gmtSecondsOf(const std::tm &local, std::int64_t fallback, TrendLinkLibrary &library) {
    return library.localToGmt(local).value_or(fallback);
}

} // namespace

double trendLinkTime(const ScanRecord &scan, DaylightStates &daylight, TrendLinkLibrary &library) {
    const ScanTime time = convertScanTime(scan.time, daylight);
    const auto seconds = static_cast<double>(gmtSecondsOf(time.local, time.seconds, library));
    const auto milliseconds = static_cast<double>(scanMilliseconds(scan));
    return std::floor(seconds * kMillisecondsPerSecond + milliseconds + 0.5);
}

double trendLinkTime(CalendarTime time) {
    return static_cast<double>(time.seconds) * kMillisecondsPerSecond + time.milliseconds;
}

double nextTimeOfDay(std::int64_t now, unsigned minutesAfterMidnight, TrendLinkLibrary &library) {
    for (int day = 0;; ++day) {
        std::tm local = localTimeOf(now);
        local.tm_mday += day;
        local.tm_hour = 0;
        local.tm_min = static_cast<int>(minutesAfterMidnight);
        local.tm_sec = 0;
        local.tm_isdst = -1;
        const std::int64_t seconds = calendarSecondsOf(local); // brings the fields into range
        if (seconds >= now || day > 0)
            return static_cast<double>(gmtSecondsOf(local, seconds, library)) * kMillisecondsPerSecond;
    }
}

} // namespace korvel
