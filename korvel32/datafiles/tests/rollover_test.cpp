#include "datafiles/rollover_numbers.h"
#include "datafiles/rollover_schedule.h"
#include "platform/clock.h"

#include "scoped_time_zone.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

namespace korvel {
namespace {

void touch(const std::string &path) { std::ofstream(path) << "x"; }

TEST(RolloverNumbers, NumberReplacesTheExtension) {
    EXPECT_EQ(numberedPath("/d/data.bin", 2), "/d/data.002");
    EXPECT_EQ(numberedPath("/d/data", 17), "/d/data.017");
    EXPECT_EQ(numberedPath("/d.x/data", 999), "/d.x/data.999");
}

TEST(RolloverNumbers, SkipsNumbersTakenBesideTheFile) {
    kvtest::TempDir dir;
    const std::string path = dir.path() + "/data.bin";
    touch(dir.path() + "/data.001");
    touch(dir.path() + "/data.003");
    touch(dir.path() + "/other.002"); // another file's copies do not count
    RolloverNumbers numbers;
    numbers.rebuild(path);
    EXPECT_EQ(numbers.claim(path), dir.path() + "/data.002");
    EXPECT_EQ(numbers.claim(path), dir.path() + "/data.004");
}

TEST(RolloverNumbers, FileMadeAfterTheListingIsStillAvoided) {
    kvtest::TempDir dir;
    const std::string path = dir.path() + "/data.csv";
    RolloverNumbers numbers;
    numbers.rebuild(path);
    touch(dir.path() + "/data.001");
    EXPECT_EQ(numbers.claim(path), dir.path() + "/data.002");
}

TEST(RolloverNumbers, SearchWrapsAroundAfter999) {
    kvtest::TempDir dir;
    const std::string path = dir.path() + "/data.csv";
    touch(dir.path() + "/data.999");
    RolloverNumbers numbers;
    numbers.rebuild(path);
    for (int n = 1; n <= 997; ++n) ASSERT_TRUE(numbers.claim(path));
    EXPECT_EQ(numbers.claim(path), dir.path() + "/data.998");
    EXPECT_EQ(numbers.claim(path), std::nullopt);
}

TEST(RolloverNumbers, NoneFreeWhenAll999Exist) {
    kvtest::TempDir dir;
    const std::string path = dir.path() + "/data.bin";
    for (int n = 1; n <= kMostRolloverNumbers; ++n) touch(numberedPath(path, n));
    RolloverNumbers numbers;
    numbers.rebuild(path);
    EXPECT_EQ(numbers.claim(path), std::nullopt);
}

DataFileSetup rolloverBy(RolloverMode mode, std::uint32_t value) {
    DataFileSetup setup;
    setup.rolloverMode = mode;
    setup.rolloverValue = value;
    return setup;
}

TEST(RolloverSchedule, SizeRollsOverOnceUntilTheFileIsSmallAgain) {
    const DataFileSetup setup = rolloverBy(RolloverMode::FileSize, 200);
    RolloverSchedule schedule;
    schedule.start(FileMode::Append, 1000);
    EXPECT_TRUE(schedule.due(setup, 1006, 200000)) << "an appended file already full rolls over at once";
    EXPECT_FALSE(schedule.due(setup, 1012, 250000)) << "armed";
    EXPECT_FALSE(schedule.due(setup, 1018, 10));
    EXPECT_TRUE(schedule.due(setup, 1024, 200001));
}

TEST(RolloverSchedule, OverwriteStartsArmed) {
    const DataFileSetup setup = rolloverBy(RolloverMode::FileSize, 200);
    RolloverSchedule schedule;
    schedule.start(FileMode::Overwrite, 1000);
    EXPECT_FALSE(schedule.due(setup, 1006, 300000));
}

TEST(RolloverSchedule, LooksAtMostEveryFiveSeconds) {
    const DataFileSetup setup = rolloverBy(RolloverMode::FileSize, 200);
    RolloverSchedule schedule;
    schedule.start(FileMode::Append, 1000);
    EXPECT_FALSE(schedule.due(setup, 1006, 0));
    EXPECT_FALSE(schedule.due(setup, 1011, 300000)) << "5 s after the last look";
    EXPECT_TRUE(schedule.due(setup, 1012, 300000));
}

TEST(RolloverSchedule, TimeIntervalCountsFromTheLastRollover) {
    const DataFileSetup setup = rolloverBy(RolloverMode::TimeInterval, 3600);
    RolloverSchedule schedule;
    schedule.start(FileMode::Append, 10000);
    EXPECT_FALSE(schedule.due(setup, 13590, 0));
    EXPECT_TRUE(schedule.due(setup, 13600, 0));
    EXPECT_FALSE(schedule.due(setup, 17190, 0));
    EXPECT_TRUE(schedule.due(setup, 17200, 0));
}

TEST(RolloverSchedule, NoneNeverRollsOver) {
    RolloverSchedule schedule;
    schedule.start(FileMode::Append, 0);
    EXPECT_FALSE(schedule.due(rolloverBy(RolloverMode::None, 0), 100, 1u << 30));
}

std::int64_t localSecond(int year, int month, int day, int hour, int minute) {
    std::tm local = localAt(year, month, day, hour, minute);
    return calendarSecondsOf(local);
}

TEST(RolloverSchedule, HourOfDayFollowsTheLocalZone) {
    for (const char *zone : {"America/New_York", "Europe/Berlin"}) {
        SCOPED_TRACE(zone);
        const ScopedTimeZone local(zone);
        const DataFileSetup setup = rolloverBy(RolloverMode::HourOfDay, 6);
        RolloverSchedule schedule;
        const std::int64_t before = localSecond(2024, 7, 1, 5, 50);
        schedule.start(FileMode::Overwrite, before);
        EXPECT_FALSE(schedule.due(setup, before + 6, 0));
        EXPECT_TRUE(schedule.due(setup, localSecond(2024, 7, 1, 6, 0), 0));
        EXPECT_FALSE(schedule.due(setup, localSecond(2024, 7, 1, 6, 30), 0)) << "once in the hour";
        EXPECT_FALSE(schedule.due(setup, localSecond(2024, 7, 1, 7, 0), 0));
        EXPECT_TRUE(schedule.due(setup, localSecond(2024, 7, 2, 6, 0), 0)) << "again the next day";
    }
}

TEST(RolloverSchedule, AppendStartWithinTheHourRollsOverAtOnce) {
    const ScopedTimeZone local("Europe/Berlin");
    const DataFileSetup setup = rolloverBy(RolloverMode::HourOfDay, 6);
    RolloverSchedule schedule;
    const std::int64_t start = localSecond(2024, 1, 15, 6, 10);
    schedule.start(FileMode::Append, start);
    EXPECT_TRUE(schedule.due(setup, start + 6, 0));
}

} // namespace
} // namespace korvel
