#include "datafiles/scan_time.h"

#include <gtest/gtest.h>

#include "scoped_time_zone.h"

namespace korvel {
namespace {

InstrumentTime recordAt(int year, int month, int day, int hour, int minute) {
    InstrumentTime time{};
    time.year = static_cast<std::uint8_t>(year % 100);
    time.month = static_cast<std::uint8_t>(month);
    time.day = static_cast<std::uint8_t>(day);
    time.hour = static_cast<std::uint8_t>(hour);
    time.minute = static_cast<std::uint8_t>(minute);
    time.second = 15;
    return time;
}

void expectLocal(const ScanTime &scan, int hour, int minute, bool daylight) {
    EXPECT_EQ(scan.local.tm_hour, hour);
    EXPECT_EQ(scan.local.tm_min, minute);
    EXPECT_EQ(scan.local.tm_sec, 15);
    EXPECT_EQ(scan.local.tm_isdst > 0, daylight);
}

TEST(ScanTime, AStandardTimeScanIsTakenAsItIsAndMarksTheRun) {
    const ScopedTimeZone zone("America/New_York");
    DaylightStates states;
    const ScanTime scan = convertScanTime(recordAt(1997, 3, 14, 8, 5), states);
    expectLocal(scan, 8, 5, false);
    EXPECT_EQ(scan.local.tm_year, 97);
    EXPECT_EQ(scan.seconds, 858344715); // 1997-03-14 13:05:15 UTC
    EXPECT_EQ(states.a, 0);
    EXPECT_EQ(states.b, 0);
}

TEST(ScanTime, ARunStartedInDaylightTimeKeepsTheInstrumentsHour) {
    const ScopedTimeZone zone("Europe/Berlin");
    DaylightStates states;
    expectLocal(convertScanTime(recordAt(2024, 7, 1, 12, 0), states), 12, 0, true);
    expectLocal(convertScanTime(recordAt(2024, 7, 1, 13, 0), states), 13, 0, true);
    EXPECT_EQ(states.a, 0);
    EXPECT_EQ(states.b, 1);
}

TEST(ScanTime, AScanAtHalfPastTwoOnTheNightTheClocksGoForwardIsHalfPastThree) {
    for (const char *zoneName : {"America/New_York", "Europe/Berlin"}) {
        SCOPED_TRACE(zoneName);
        const ScopedTimeZone zone(zoneName);
        const int day = std::string(zoneName) == "Europe/Berlin" ? 31 : 10;
        DaylightStates states;
        expectLocal(convertScanTime(recordAt(2024, 3, day, 1, 30), states), 1, 30, false);
        expectLocal(convertScanTime(recordAt(2024, 3, day, 2, 30), states), 3, 30, true);
        EXPECT_EQ(states.a, 1);
        // From then on the instrument, still on standard time, is read an hour later.
        expectLocal(convertScanTime(recordAt(2024, 3, day, 3, 30), states), 4, 30, true);
    }
}

TEST(ScanTime, CrossingIntoDaylightTimeShiftsEveryLaterScan) {
    const ScopedTimeZone zone("America/New_York");
    DaylightStates states;
    convertScanTime(recordAt(2024, 3, 9, 23, 0), states);
    const ScanTime crossed = convertScanTime(recordAt(2024, 3, 10, 3, 0), states);
    expectLocal(crossed, 4, 0, true);
    EXPECT_EQ(crossed.seconds, 1710057615); // 2024-03-10 08:00:15 UTC
    expectLocal(convertScanTime(recordAt(2024, 6, 1, 10, 0), states), 11, 0, true);
}

TEST(ScanTime, TwoDigitYearsBelow36AreOfThe2000s) {
    const ScopedTimeZone zone("Europe/Berlin");
    DaylightStates states;
    EXPECT_EQ(convertScanTime(recordAt(2035, 1, 2, 3, 4), states).local.tm_year, 135);
    EXPECT_EQ(convertScanTime(recordAt(1936, 1, 2, 3, 4), states).local.tm_year, 36);
}

} // namespace
} // namespace korvel
