#include "datafiles/scan_time.h"

#include "platform/clock.h"

namespace korvel {
namespace {

// Two-digit years below this are of the 2000s.
constexpr int kCenturyPivot = 36;

std::tm localTimeOfRecord(const InstrumentTime &time, int hour) {
    std::tm local{};
    local.tm_hour = hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_year = time.year < kCenturyPivot ? time.year + 100 : time.year;
    local.tm_isdst = -1; // let the rules decide
    return local;
}

ScanTime convertAt(const InstrumentTime &time, int hour) {
    ScanTime result;
    result.local = localTimeOfRecord(time, hour);
    result.seconds = calendarSecondsOf(result.local);
    return result;
}

} // namespace

ScanTime convertScanTime(const InstrumentTime &time, DaylightStates &states) {
    ScanTime result;
    if (states.a == 0) {
        result = convertAt(time, time.hour);
        const bool daylight = result.local.tm_isdst > 0;
        if (!daylight)
            states.b = 0;
        else if (states.b == 0)
            states.a = states.b = 1;
        // The hour the clocks skip may come back as standard time; the hour
        // after it tells whether it is the night they go forward.
        if (time.hour == 2 && !daylight) {
            const ScanTime later = convertAt(time, 3);
            if (later.local.tm_isdst > 0) result = later;
        }
    }
    if (states.a == 1) result = convertAt(time, time.hour + 1);
    return result;
}

} // namespace korvel
