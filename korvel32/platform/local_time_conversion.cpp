// mktime rereads the time-zone file on every call when TZ is not set, which a
// logger converting thousands of scan times a second cannot afford. Within a
// local hour that holds no change of daylight time the conversion is linear,
// so each such hour is converted once and its scans take their offset in it.
// A change of TZ (a user, a test) starts over.
#include "platform/clock.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace korvel {
namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kLastSecondOfHour = 3599;

std::string zoneName()
{
    const char *tz = std::getenv("TZ");
    return tz == nullptr ? std::string(1, '\0') : std::string(tz);
}

bool sameHour(const std::tm &a, const std::tm &b)
{
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour &&
           a.tm_isdst == b.tm_isdst;
}

bool withinHour(const std::tm &local)
{
    return local.tm_min >= 0 && local.tm_min <= 59 && local.tm_sec >= 0 && local.tm_sec <= 59;
}

struct HourConversion {
    std::string zone;
    std::tm key{};   // the hour as asked for
    std::tm start{}; // its first second, normalised
    std::int64_t seconds = -1;
    bool valid = false;

    bool holds(const std::tm &local, const std::string &currentZone) const
    {
        return valid && sameHour(key, local) && zone == currentZone;
    }

    // Remembers the hour of local when it is linear: both ends in the same
    // daylight state, exactly an hour apart, and not moved by normalising.
    void learn(const std::tm &local, std::string currentZone)
    {
        std::tm first = local;
        first.tm_min = first.tm_sec = 0;
        std::tm last = local;
        last.tm_min = last.tm_sec = 59;
        const std::int64_t firstSeconds = std::mktime(&first);
        const std::int64_t lastSeconds = std::mktime(&last);
        valid = firstSeconds != -1 && lastSeconds - firstSeconds == kLastSecondOfHour &&
                first.tm_isdst == last.tm_isdst && first.tm_hour == local.tm_hour && first.tm_mday == local.tm_mday;
        if (!valid)
            return;
        zone = std::move(currentZone);
        key = local;
        start = first;
        seconds = firstSeconds;
    }
};

struct ZoneFacts {
    std::string zone;
    std::int64_t offsetWest = 0;
    bool epochInDaylight = false;
    bool valid = false;
};

} // namespace

std::int64_t calendarSecondsOf(std::tm &local)
{
    thread_local HourConversion hour;
    if (!withinHour(local))
        return static_cast<std::int64_t>(std::mktime(&local));
    std::string zone = zoneName();
    if (!hour.holds(local, zone))
        hour.learn(local, std::move(zone));
    if (!hour.valid)
        return static_cast<std::int64_t>(std::mktime(&local));
    const int minute = local.tm_min;
    const int second = local.tm_sec;
    local = hour.start;
    local.tm_min = minute;
    local.tm_sec = second;
    return hour.seconds + minute * kSecondsPerMinute + second;
}

namespace {

const ZoneFacts &zoneFacts()
{
    thread_local ZoneFacts facts;
    std::string zone = zoneName();
    if (!facts.valid || facts.zone != zone) {
        tzset();
        facts = {std::move(zone), static_cast<std::int64_t>(timezone), localTimeOf(0).tm_isdst > 0, true};
    }
    return facts;
}

} // namespace

std::int64_t standardOffsetWest()
{
    return zoneFacts().offsetWest;
}

bool epochInDaylightTime()
{
    return zoneFacts().epochInDaylight;
}

} // namespace korvel
