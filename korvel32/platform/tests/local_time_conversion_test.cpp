// The scan-time conversions take each local hour's offset once; every minute
// and second they give must be what mktime itself gives, across the nights
// the clocks change and when the zone itself changes.
#include "platform/clock.h"

#include "scoped_time_zone.h"

#include <gtest/gtest.h>

#include <ctime>

namespace korvel {
namespace {

// Every 7th second of two days around a night the clocks change, in order.
// The second day is asked for both as itself and as hours 24 to 47 of the
// first, as a run in daylight time asks for the hour after the instrument's.
void expectSameAsMktime(int year, int month, int day) {
    for (int asked = 0; asked < 96; ++asked) {
        const int hour = asked % 48;
        const bool overflowing = asked >= 48;
        for (int second = 0; second < 3600; second += 7) {
            std::tm ours = overflowing ? wallClockAt(year, month, day, hour, second / 60, second % 60)
                                       : wallClockAt(year, month, day + hour / 24, hour % 24, second / 60, second % 60);
            std::tm theirs = ours;
            const std::int64_t expected = std::mktime(&theirs);
            ASSERT_EQ(calendarSecondsOf(ours), expected) << "day " << day << " hour " << hour << " second " << second;
            ASSERT_EQ(ours.tm_hour, theirs.tm_hour);
            ASSERT_EQ(ours.tm_mday, theirs.tm_mday);
            ASSERT_EQ(ours.tm_isdst, theirs.tm_isdst);
            ASSERT_EQ(ours.tm_wday, theirs.tm_wday);
        }
    }
}

TEST(LocalTimeConversion, AgreesWithMktimeOnTheNightsTheClocksChange) {
    for (const char *zone : {"America/New_York", "Europe/Berlin", "Australia/Lord_Howe", "UTC"}) {
        SCOPED_TRACE(zone);
        ScopedTimeZone scoped(zone);
        expectSameAsMktime(2026, 3, 7);  // New York springs forward on the 8th
        expectSameAsMktime(2026, 3, 28); // Berlin on the 29th
        expectSameAsMktime(2026, 10, 3); // Lord Howe by half an hour on the 4th
        expectSameAsMktime(2026, 10, 24);
        expectSameAsMktime(2026, 10, 31);
    }
}

TEST(LocalTimeConversion, FollowsAChangeOfZoneAtOnce) {
    std::tm noon = wallClockAt(2026, 7, 1, 12, 0, 0);
    std::int64_t inNewYork = 0;
    {
        ScopedTimeZone scoped("America/New_York");
        EXPECT_EQ(standardOffsetWest(), 5 * 3600);
        inNewYork = calendarSecondsOf(noon);
    }
    ScopedTimeZone scoped("Europe/Berlin");
    std::tm again = wallClockAt(2026, 7, 1, 12, 0, 0);
    EXPECT_EQ(inNewYork - calendarSecondsOf(again), 6 * 3600);
    EXPECT_EQ(standardOffsetWest(), -3600);
    EXPECT_FALSE(epochInDaylightTime());
}

} // namespace
} // namespace korvel
