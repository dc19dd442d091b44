#include "timecn32.h"

#include <time.h>

#include <algorithm>
#include <vector>

namespace {

constexpr long long kTwoDays = 2 * 86400;

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool validFields(const TimeCnLocalTime &local) {
    static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (local.year < 1900 || local.year > 9999 || local.month < 1 || local.month > 12) return false;
    const int days = kDaysInMonth[local.month - 1] + (local.month == 2 && leapYear(local.year) ? 1 : 0);
    return local.day >= 1 && local.day <= days && local.hour >= 0 && local.hour <= 23 && local.minute >= 0 &&
           local.minute <= 59 && local.second >= 0 && local.second <= 59 && local.daylight >= -1 && local.daylight <= 1;
}

// Seconds east of GMT in force at GMT second t.
long long offsetAt(long long t) {
    const time_t at = static_cast<time_t>(t);
    struct tm local {};
    localtime_r(&at, &local);
    return local.tm_gmtoff;
}

} // namespace

extern "C" TIMECN_API int LocalToGMT(const TimeCnLocalTime *local, long long *gmtSeconds) {
    if (!local || !gmtSeconds || !validFields(*local)) return -1;
    tzset(); // TZ may have changed since the last call
    struct tm fields {};
    fields.tm_year = local->year - 1900;
    fields.tm_mon = local->month - 1;
    fields.tm_mday = local->day;
    fields.tm_hour = local->hour;
    fields.tm_min = local->minute;
    fields.tm_sec = local->second;
    const long long wallClock = timegm(&fields); // the local time read as if it were GMT

    // The offsets in force around it (a change of daylight time lies within a
    // day of any wall-clock time it affects); a reading is valid when its GMT
    // second has the offset it was made with.
    const long long before = offsetAt(wallClock - kTwoDays);
    std::vector<long long> readings;
    for (const long long offset : {before, offsetAt(wallClock), offsetAt(wallClock + kTwoDays)}) {
        const long long t = wallClock - offset;
        if (offsetAt(t) == offset && std::find(readings.begin(), readings.end(), t) == readings.end())
            readings.push_back(t);
    }
    std::sort(readings.begin(), readings.end());
    if (readings.empty())
        *gmtSeconds = wallClock - before; // skipped by the clocks: read in the time in force before
    else
        *gmtSeconds = (local->daylight == 0) ? readings.back() : readings.front();
    return 0;
}
