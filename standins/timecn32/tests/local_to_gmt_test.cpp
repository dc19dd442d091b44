#include "timecn32.h"

#include <gtest/gtest.h>

#include "scoped_time_zone.h"

namespace {

long long gmt(int year, int month, int day, int hour, int minute, int daylight = -1) {
    const TimeCnLocalTime local{year, month, day, hour, minute, 0, daylight};
    long long seconds = 0;
    EXPECT_EQ(LocalToGMT(&local, &seconds), 0);
    return seconds;
}

// 2024-03-31 00:00 and 2024-10-27 00:00 GMT, the nights Europe changes its clocks.
constexpr long long kSpringNight = 1711843200;
constexpr long long kAutumnNight = 1729987200;
constexpr long long kHour = 3600;

TEST(LocalToGmt, FollowsTheZoneInWinterAndSummer) {
    ScopedTimeZone zone("Europe/Berlin");
    EXPECT_EQ(gmt(2024, 1, 15, 12, 0), 1705316400); // 11:00 GMT
    EXPECT_EQ(gmt(2024, 7, 15, 12, 0), 1721037600); // 10:00 GMT
    // Outside the repeated hour the daylight argument does not change the answer.
    EXPECT_EQ(gmt(2024, 1, 15, 12, 0, 1), 1705316400);
    EXPECT_EQ(gmt(2024, 7, 15, 12, 0, 0), 1721037600);
}

TEST(LocalToGmt, TheNightTheClocksGoForward) {
    ScopedTimeZone zone("Europe/Berlin");
    EXPECT_EQ(gmt(2024, 3, 31, 1, 59), kSpringNight + 59 * 60);
    // 02:00-02:59 are skipped: 02:30 reads as 03:30 daylight time.
    EXPECT_EQ(gmt(2024, 3, 31, 2, 30), kSpringNight + kHour + 30 * 60);
    EXPECT_EQ(gmt(2024, 3, 31, 2, 30, 1), gmt(2024, 3, 31, 3, 30));
    EXPECT_EQ(gmt(2024, 3, 31, 3, 0), kSpringNight + kHour);
}

TEST(LocalToGmt, TheNightTheClocksGoBack) {
    ScopedTimeZone zone("Europe/Berlin");
    // 02:30 comes twice: first in daylight time (00:30 GMT), then in standard time (01:30 GMT).
    EXPECT_EQ(gmt(2024, 10, 27, 2, 30, 1), kAutumnNight + 30 * 60);
    EXPECT_EQ(gmt(2024, 10, 27, 2, 30, -1), kAutumnNight + 30 * 60);
    EXPECT_EQ(gmt(2024, 10, 27, 2, 30, 0), kAutumnNight + kHour + 30 * 60);
    EXPECT_EQ(gmt(2024, 10, 27, 3, 0), kAutumnNight + 2 * kHour);
}

TEST(LocalToGmt, SouthernZonesChangeTheOtherWay) {
    ScopedTimeZone zone("Australia/Sydney");
    // 2024-04-07: 03:00 daylight (+11) goes back to 02:00 standard (+10).
    EXPECT_EQ(gmt(2024, 4, 7, 2, 30, 1), gmt(2024, 4, 7, 2, 30, 0) - kHour);
    EXPECT_EQ(gmt(2024, 6, 1, 10, 0), 1717200000); // 00:00 GMT in winter (+10)
}

TEST(LocalToGmt, FollowsAChangeOfZoneBetweenCalls) {
    long long berlin = 0;
    {
        ScopedTimeZone zone("Europe/Berlin");
        berlin = gmt(2024, 1, 15, 12, 0);
    }
    ScopedTimeZone zone("America/New_York");
    EXPECT_EQ(gmt(2024, 1, 15, 12, 0), berlin + 6 * kHour);
}

TEST(LocalToGmt, RefusesFieldsOutOfRange) {
    ScopedTimeZone zone("UTC");
    long long seconds = 42;
    const TimeCnLocalTime bad[] = {
        {2024, 13, 1, 0, 0, 0, -1}, {2023, 2, 29, 0, 0, 0, -1}, {2024, 4, 31, 0, 0, 0, -1},
        {2024, 1, 1, 24, 0, 0, -1}, {2024, 1, 1, 0, 60, 0, -1}, {2024, 1, 1, 0, 0, 60, -1},
        {1899, 1, 1, 0, 0, 0, -1},  {2024, 1, 1, 0, 0, 0, 2},   {2024, 0, 1, 0, 0, 0, -1},
    };
    for (const TimeCnLocalTime &local : bad) EXPECT_EQ(LocalToGMT(&local, &seconds), -1) << local.month;
    EXPECT_EQ(seconds, 42);
    const TimeCnLocalTime leapDay{2024, 2, 29, 0, 0, 0, -1};
    EXPECT_EQ(LocalToGMT(&leapDay, &seconds), 0);
    EXPECT_EQ(seconds, 1709164800);
    EXPECT_EQ(LocalToGMT(nullptr, &seconds), -1);
    EXPECT_EQ(LocalToGMT(&leapDay, nullptr), -1);
}

} // namespace
