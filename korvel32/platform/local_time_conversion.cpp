// mktime rereads the time-zone file on every call when TZ is not set, which a
// logger converting thousands of scan times a second cannot afford. Within a
// local hour that holds no change of daylight time the conversion is linear,
// so such an hour is converted once and its scans take their offset in it.
// Two hours are kept: a scan's conversion may look at the next hour too (the
// night the clocks go forward) before its date text converts its own hour
// again. A change of TZ (a user, a test) starts over.
#include "platform/clock.h"

#include <array>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace korvel {
namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kLastSecondOfHour = 3599;

bool sameHour(const std::tm &a, const std::tm &b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour &&
           a.tm_isdst == b.tm_isdst;
}

bool withinHour(const std::tm &local) {
    return local.tm_min >= 0 && local.tm_min <= 59 && local.tm_sec >= 0 && local.tm_sec <= 59;
}

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Whether the date and hour fields need no normalising.
bool fieldsInRange(const std::tm &local) {
    constexpr std::array<int, 12> kDaysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (local.tm_hour < 0 || local.tm_hour > 23 || local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1)
        return false;
    const bool leapDay = local.tm_mon == 1 && leapYear(local.tm_year + 1900);
    return local.tm_mday <= kDaysInMonth[static_cast<std::size_t>(local.tm_mon)] + (leapDay ? 1 : 0);
}

// The hour of local with its date and hour fields brought into range by
// calendar arithmetic alone (hour 24 is the next day's hour 0), as mktime
// would before applying the zone; tm_isdst stays as asked.
std::optional<std::tm> normalisedHour(const std::tm &local) {
    std::tm fields = local;
    fields.tm_min = fields.tm_sec = 0;
    if (fieldsInRange(fields)) return fields; // the common case, without the cost of timegm
    const std::time_t asUtc = timegm(&fields);
    std::tm hour{};
    if (asUtc == -1 || gmtime_r(&asUtc, &hour) == nullptr) return std::nullopt; // beyond the calendar: mktime decides
    hour.tm_isdst = local.tm_isdst;
    return hour;
}

struct HourConversion {
    std::tm key{};   // the normalised hour as asked for
    std::tm start{}; // its first second, as mktime gives it
    std::int64_t seconds = -1;
    bool valid = false;
};

struct ZoneFacts {
    std::int64_t offsetWest = 0;
    bool epochInDaylight = false;
};

// What is known of the current zone: the TZ value it belongs to, its facts
// and the hours converted in it.
struct ZoneCache {
    bool known = false;
    bool tzSet = false;
    std::string tz;
    ZoneFacts facts;
    std::array<HourConversion, 2> hours;
    std::size_t nextHour = 0;

    // The zone as mktime, localtime_r and the globals last left it.
    void readFacts() { facts = {static_cast<std::int64_t>(timezone), localTimeOf(0).tm_isdst > 0}; }

    const HourConversion *find(const std::tm &key) const {
        for (const HourConversion &hour : hours) {
            if (hour.valid && sameHour(hour.key, key)) return &hour;
        }
        return nullptr;
    }

    // Converts the hour once and keeps it when it is linear: both ends in the
    // same daylight state, exactly an hour apart, and not moved by a gap.
    const HourConversion *learn(const std::tm &key) {
        std::tm first = key;
        std::tm last = key;
        last.tm_min = last.tm_sec = 59;
        const std::int64_t firstSeconds = std::mktime(&first);
        const std::int64_t lastSeconds = std::mktime(&last);
        readFacts(); // mktime has just reread the zone
        const bool linear = firstSeconds != -1 && lastSeconds - firstSeconds == kLastSecondOfHour &&
                            first.tm_isdst == last.tm_isdst && first.tm_hour == key.tm_hour &&
                            first.tm_mday == key.tm_mday;
        if (!linear) return nullptr;
        HourConversion &hour = hours[nextHour];
        nextHour = (nextHour + 1) % hours.size();
        hour = {key, first, firstSeconds, true};
        return &hour;
    }
};

// The cache of the current TZ; a different value of TZ starts it afresh.
ZoneCache &currentZone() {
    thread_local ZoneCache zone;
    const char *tz = std::getenv("TZ");
    const bool same = zone.known && zone.tzSet == (tz != nullptr) && (tz == nullptr || zone.tz == tz);
    if (!same) {
        tzset();
        zone = ZoneCache{};
        zone.known = true;
        zone.tzSet = tz != nullptr;
        if (tz != nullptr) zone.tz = tz;
        zone.readFacts();
    }
    return zone;
}

} // namespace

std::int64_t calendarSecondsOf(std::tm &local) {
    if (!withinHour(local)) return static_cast<std::int64_t>(std::mktime(&local));
    ZoneCache &zone = currentZone();
    const std::optional<std::tm> key = normalisedHour(local);
    const HourConversion *hour = key ? zone.find(*key) : nullptr;
    if (key && hour == nullptr) hour = zone.learn(*key);
    if (hour == nullptr) return static_cast<std::int64_t>(std::mktime(&local));
    const int minute = local.tm_min;
    const int second = local.tm_sec;
    local = hour->start;
    local.tm_min = minute;
    local.tm_sec = second;
    return hour->seconds + minute * kSecondsPerMinute + second;
}

std::int64_t standardOffsetWest() { return currentZone().facts.offsetWest; }

bool epochInDaylightTime() { return currentZone().facts.epochInDaylight; }

} // namespace korvel
