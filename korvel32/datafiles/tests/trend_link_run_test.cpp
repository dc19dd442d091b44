// Trend Link output while it runs, against the real historian: the checks
// every 5 seconds (low disk space with either action, .NOW file rollover by
// size and by time), the batches of each type, and the chart file prepared
// for the chart program.
#include "trend_link_fixture.h"

#include "platform/ini_profile.h"

#include <chart_keys.h>

#include <algorithm>
#include <filesystem>

namespace korvel {
namespace {

namespace fs = std::filesystem;

using Batches = std::vector<kvtest::StoredBatch>;

class TrendLinkRunTest : public TrendLinkTest {
protected:
    std::int64_t now() { return clock.now().seconds; }

    // In reads of at most 50 scans, as many as a read can bring.
    void write(TrendLinkOutput &output, const std::vector<MadeScan> &scans) {
        for (std::size_t first = 0; first < scans.size(); first += 50) {
            const auto from = scans.begin() + static_cast<std::ptrdiff_t>(first);
            const auto to = scans.begin() + static_cast<std::ptrdiff_t>(std::min(scans.size(), first + 50));
            ASSERT_TRUE(output.writeBatch(7, batchOf({from, to}), daylight));
        }
    }
    // Instrument 7's output, acting on 5,000,000 free bytes or less.
    std::unique_ptr<TrendLinkOutput> openWithLowDiskAction(std::uint16_t action) {
        const int slot = addInstrument(7);
        file(slot).lowDiskAction = action;
        file(slot).lowDiskThreshold = 5000;
        return open(slot);
    }
    std::string lowDiskText(std::uint64_t free) const {
        return "Only " + std::to_string(free) + " bytes of free disk\nspace remain on " + mountPointOf(dir.path()) +
               " for Trend Link data!";
    }
};

TEST_F(TrendLinkRunTest, LowDiskWithStopLoggingClosesTheDataSetAndKeepsWhatWasWritten) {
    auto output = openWithLowDiskAction(1);
    ASSERT_NE(output, nullptr);
    write(*output, secondsFrom({.totalizer = 1}, 2));

    freeSpace.scripted = std::optional<std::uint64_t>{5'000'000};
    EXPECT_EQ(output->checkRollover(now() + 6), std::nullopt) << "nothing to show: the writes report it";
    EXPECT_FALSE(output->isOpen());
    EXPECT_FALSE(output->writeBatch(7, batchOf(secondsFrom({.minute = 1}, 1)), daylight));
    EXPECT_EQ(kvtest::storedValues("run", "07TOTAL").size(), 2u);
    EXPECT_FALSE(fs::exists(rolledOver(1)));
}

TEST_F(TrendLinkRunTest, LowDiskWithPerformRolloverRollsOverAndWarnsOnceUntilTheDiskHasRoomAgain) {
    auto output = openWithLowDiskAction(0);
    ASSERT_NE(output, nullptr);
    write(*output, secondsFrom({.totalizer = 1}, 2));
    const std::int64_t start = now();

    EXPECT_EQ(output->checkRollover(start), std::nullopt);
    freeSpace.scripted = std::optional<std::uint64_t>{4'000'000};
    EXPECT_EQ(output->checkRollover(start + 5), std::nullopt) << "checked at most every 5 seconds";
    EXPECT_EQ(output->checkRollover(start + 6), lowDiskText(4'000'000));
    EXPECT_TRUE(fs::exists(rolledOver(1)));
    EXPECT_TRUE(output->isOpen());
    write(*output, secondsFrom({.minute = 1, .totalizer = 3}, 1));
    EXPECT_EQ(output->checkRollover(start + 12), std::nullopt) << "warned already";
    EXPECT_FALSE(fs::exists(rolledOver(2)));

    freeSpace.scripted = std::optional<std::uint64_t>{6'000'000}; // not yet 1,000,000 above
    EXPECT_EQ(output->checkRollover(start + 18), std::nullopt);
    freeSpace.scripted = std::optional<std::uint64_t>{3'000'000};
    EXPECT_EQ(output->checkRollover(start + 24), std::nullopt) << "not re-armed";
    freeSpace.scripted = std::optional<std::uint64_t>{6'000'001};
    EXPECT_EQ(output->checkRollover(start + 30), std::nullopt);
    freeSpace.scripted = std::optional<std::uint64_t>{2'000'000};
    EXPECT_EQ(output->checkRollover(start + 36), lowDiskText(2'000'000));
    EXPECT_TRUE(fs::exists(rolledOver(2)));

    ASSERT_TRUE(output->close());
    EXPECT_EQ(kvtest::valuesOf("run", "07TOTAL"), (std::vector<double>{1, 2, 3}))
        << "read across the rolled-over files";
}

TEST_F(TrendLinkRunTest, TheNowFileRollsOverWhenItReachesTheSetSize) {
    const int slot = addInstrument(7);
    file(slot).rolloverMode = RolloverMode::FileSize;
    file(slot).rolloverValue = 200; // k bytes
    auto output = open(slot);
    ASSERT_NE(output, nullptr);
    const std::int64_t start = now();
    write(*output, secondsFrom({}, 10));
    EXPECT_EQ(output->checkRollover(start + 6), std::nullopt);
    EXPECT_FALSE(fs::exists(rolledOver(1))) << "still small";

    write(*output, secondsFrom({.hour = 13}, 3000));
    output->checkRollover(start + 12);
    // The rollover asked for is carried out by the historian's next store.
    write(*output, secondsFrom({.hour = 14}, 10));
    EXPECT_TRUE(fs::exists(rolledOver(1)));
    output->checkRollover(start + 18);
    write(*output, secondsFrom({.hour = 15}, 10));
    EXPECT_FALSE(fs::exists(rolledOver(2))) << "the new file is small again";
    ASSERT_TRUE(output->close());
    EXPECT_EQ(kvtest::storedValues("run", "07TOTAL").size(), 3030u);
}

TEST_F(TrendLinkRunTest, TheNowFileRollsOverWhenTheIntervalHasPassed) {
    const int slot = addInstrument(7);
    file(slot).rolloverMode = RolloverMode::TimeInterval;
    file(slot).rolloverValue = 60; // seconds
    auto output = open(slot);
    ASSERT_NE(output, nullptr);
    const std::int64_t start = now();
    write(*output, secondsFrom({}, 5));
    // A check that asks for a rollover shows in the write after it.
    const struct {
        std::int64_t check; // seconds after the start
        int rolledOverNumber;
        bool rolledOver;
    } steps[] = {{30, 1, false}, {61, 1, true}, {100, 2, false}, {125, 2, true}};
    int minute = 0;
    for (const auto &step : steps) {
        output->checkRollover(start + step.check);
        write(*output, secondsFrom({.minute = ++minute}, 5));
        EXPECT_EQ(fs::exists(rolledOver(step.rolledOverNumber)), step.rolledOver) << "checked at +" << step.check;
    }
}

// Type 0: one batch from the first scan to 1 ms after the newest; the next
// run of the data set goes on with the next number.
TEST_F(TrendLinkRunTest, ARunIsOneBatchNumberedOnFromTheDataSetsLastBatch) {
    const int slot = addInstrument(7);
    for (int run = 0; run < 2; ++run) {
        auto output = open(slot);
        ASSERT_NE(output, nullptr) << ::testing::PrintToString(ui.messageTexts());
        write(*output, secondsFrom({.minute = 10 * run}, 3));
        write(*output, secondsFrom({.minute = 10 * run, .second = 3}, 2));
        ASSERT_TRUE(output->close());
    }
    EXPECT_EQ(kvtest::storedBatches("run"), (Batches{{"run.set:1", localMilliseconds(2024, 7, 1, 12, 0, 0),
                                                      localMilliseconds(2024, 7, 1, 12, 0, 4, 1)},
                                                     {"run.set:2", localMilliseconds(2024, 7, 1, 12, 10, 0),
                                                      localMilliseconds(2024, 7, 1, 12, 10, 4, 1)}}));
}

// Type 2: periods of the set length from the first scan, across midnight.
TEST_F(TrendLinkRunTest, PeriodicBatchesFollowEachOtherAcrossMidnight) {
    const int slot = addInstrument(7);
    file(slot).batchType = 2;
    file(slot).batchPeriod = 1; // minute
    file(slot).batchName = "Shift";
    setClock(1, 23, 59);
    auto output = open(slot);
    ASSERT_NE(output, nullptr);
    std::vector<MadeScan> scans = secondsFrom({.hour = 23, .minute = 59, .second = 30}, 75); // to 00:00:44
    write(*output, {scans.begin(), scans.begin() + 20});
    write(*output, {scans.begin() + 20, scans.end()});
    ASSERT_TRUE(output->close());

    EXPECT_EQ(
        kvtest::storedBatches("run"),
        (Batches{{"Shift:1", localMilliseconds(2024, 7, 1, 23, 59, 30), localMilliseconds(2024, 7, 2, 0, 0, 29, 999)},
                 {"Shift:2", localMilliseconds(2024, 7, 2, 0, 0, 30), localMilliseconds(2024, 7, 2, 0, 0, 44, 1)}}));
}

// Type 3: the first period begins at the next time of day after the open.
TEST_F(TrendLinkRunTest, PeriodicBatchesFromATimeOfDayBeginAtItsNextOccurrence) {
    const int slot = addInstrument(7);
    file(slot).batchType = 3;
    file(slot).batchPeriod = 60;
    file(slot).batchStart = 0; // midnight
    file(slot).batchName = "Day";
    setClock(1, 23, 58);
    auto output = open(slot);
    ASSERT_NE(output, nullptr);
    write(*output, secondsFrom({.hour = 23, .minute = 59, .second = 50}, 5));
    write(*output, secondsFrom({.hour = 23, .minute = 59, .second = 55}, 10)); // to 00:00:04
    ASSERT_TRUE(output->close());

    EXPECT_EQ(kvtest::storedBatches("run"),
              (Batches{{"Day:1", localMilliseconds(2024, 7, 2, 0, 0, 0), localMilliseconds(2024, 7, 2, 0, 0, 4, 1)}}));
}

TEST_F(TrendLinkRunTest, ABatchThatCannotBeBegunClosesTheOutput) {
    const int slot = addInstrument(7);
    auto output = open(slot);
    ASSERT_NE(output, nullptr);
    library.refuseBatches = true;
    EXPECT_FALSE(output->writeBatch(7, batchOf(secondsFrom({}, 2)), daylight));
    EXPECT_FALSE(output->isOpen());
    EXPECT_EQ(kvtest::storedValues("run", "07TOTAL").size(), 2u) << "the scans themselves were stored";
}

// A new chart gets the template's curve keys for the first four channels of
// the group, named after their data sets and tags, sized to the screen and
// in the chart program's font; an existing chart keeps its curves.
TEST_F(TrendLinkRunTest, TheChartFileNamesTheGroupsFirstFourChannelsAndKeepsItsCurvesLater) {
    const int master = addInstrument(3, "line.set");
    const int slave = addInstrument(5);
    table.setRole(master, GroupRole::Master);
    table.setRole(slave, GroupRole::Slave);
    table.slot(master).setup->channel(2).alarm2.sense = AlarmSense::Hi;
    ASSERT_NE(open(master), nullptr) << ::testing::PrintToString(ui.messageTexts());

    const std::string chart = dataPath("_line/line.cht");
    const auto key = [&](const std::string &section, const char *name) {
        return readProfileString(chart, section, name, "(none)", 256);
    };
    EXPECT_EQ(key(tl32::kMainSection, tl32::kTitleKey), "Boiler house");
    EXPECT_EQ(key(tl32::kMainSection, tl32::kWindowYKey), "300");
    EXPECT_EQ(key(tl32::kMainSection, tl32::kWindowWidthKey), "1200");
    EXPECT_EQ(key(tl32::kMainSection, tl32::kWindowHeightKey), "600");
    EXPECT_EQ(key(tl32::kMainSection, tl32::kFontNameKey), "DejaVu Sans");
    EXPECT_EQ(key(tl32::kMainSection, tl32::kFontCharacterSetKey), "0");
    EXPECT_EQ(key(tl32::kCurveWindowSection, tl32::kNumberOfCurvesKey), "4");
    const std::vector<std::string> names{"line-03m:0301", "line-03m:0302", "line-03m:0303", "line-05s:0501"};
    for (unsigned curve = 1; curve <= 4; ++curve) {
        const std::string section = "Section: Curve #" + std::to_string(curve);
        SCOPED_TRACE(section);
        EXPECT_EQ(key(section, tl32::kCurveNameKey), names[curve - 1]);
        EXPECT_EQ(key(section, tl32::kCurveTypeKey), curve == 2 ? "2" : "1");
        EXPECT_EQ(key(section, tl32::kCurveLineWidthKey), "2");
    }
    EXPECT_EQ(key("Section: Curve #5", tl32::kCurveNameKey), "(none)");

    writeProfileString(chart, "Section: Curve #1", tl32::kCurveNameKey, "line-05s:0503");
    table.slot(master).setup->dataFile.comment = "Line 4";
    ASSERT_NE(open(master), nullptr);
    EXPECT_EQ(key("Section: Curve #1", tl32::kCurveNameKey), "line-05s:0503") << "the user's curves stay";
    EXPECT_EQ(key(tl32::kMainSection, tl32::kTitleKey), "Line 4");
}

} // namespace
} // namespace korvel
