// The logger's promise, end to end: every scan an instrument makes reaches
// its data file once and in order, through logging, Stop All or the end of
// the setup's duration and the drain of the remaining scans, also when an
// instrument falls silent for a while or answers busy while it drains.
#include "logging_with_files.h"

#include <algorithm>
#include <cstdlib>

namespace korvel {
namespace {

constexpr int kScansGet = 100;
constexpr int kScansDisable = 104;
constexpr std::size_t kCsvTotalColumn = csvTotalColumn(kTemplateChannels);

class LoggingReliability : public LoggingWithFiles {
protected:
    // From now on every instrument answers all but the simplest requests
    // with -3 for a while after scanning was disabled.
    void answerBusyAfterStop() {
        control("busy-time * 300");
        control("busy-replies * 1");
    }

    // The scan reads since the stop's disable, the last scan enable request:
    // opening the communications and the start send some before it.
    int scanReadsAfterStop(int bcn) {
        const std::vector<int> received = sim->requestCommands(bcn);
        const auto stop = std::find(received.rbegin(), received.rend(), kScansDisable);
        if (stop == received.rend()) ADD_FAILURE() << "instrument " << bcn << " was never told to stop scanning";
        return static_cast<int>(std::count(received.rbegin(), stop, kScansGet));
    }
};

TEST_F(LoggingReliability, StopAllDrainsEveryScanOfAsyncInstrumentsIntoTheirFiles) {
    startInstruments({{1, KVX_MODEL_M200A}, {2, KVX_MODEL_M100A}});
    const std::string binary = logToFile(1, FileFormat::FastBinary, "fast.bin", 0.01);
    const std::string ascii = logToFile(2, FileFormat::Ascii, "slow.csv", 0.1);
    startLogging(slots({1, 2}));
    tickFor(std::chrono::milliseconds(800));
    // Unread meanwhile, the fast instrument holds more than one read's worth.
    ASSERT_TRUE(instrumentHolds(1, 150));

    ASSERT_TRUE(stopAllAndDrain(5000));
    expectAllFetched(1);
    expectAllFetched(2);
    EXPECT_EQ(binaryScanNumbers(binary, scanRecordSize(*table.slot(1).setup)), firstScans(sim->counters(1).produced));
    EXPECT_EQ(csvColumn(ascii, kCsvTotalColumn), firstScans(sim->counters(2).produced));
    EXPECT_TRUE(ui.warnings().empty());
}

// The Master's file holds one line per Master scan, each with a part of every
// slave; the slaves' scans are all read, and each line carries the slave scan
// made at about the Master's.
TEST_F(LoggingReliability, StopAllDrainsAMasterGroupIntoOneLinePerMasterScan) {
    startInstruments({1, 2, 3});
    const std::string path = startGroupLogging(FileFormat::Ascii, "group.csv", 0.05);
    tickFor(std::chrono::milliseconds(800));
    ASSERT_TRUE(instrumentHolds(1, 25));

    ASSERT_TRUE(stopAllAndDrain(5000));
    expectAllFetched(1);
    EXPECT_EQ(csvColumn(path, kCsvTotalColumn), firstScans(sim->counters(1).produced));
    // The time, then the parts of the Master and its two slaves.
    for (const auto &row : csvScanRows(path)) ASSERT_EQ(row.size(), 1 + 3 * (kTemplateChannels + 4));
    for (const int slave : {2, 3}) {
        const kvtest::ScanCounters counted = sim->counters(slave);
        EXPECT_EQ(counted.lost + counted.cleared, 0) << "slave " << slave;
        const std::vector<long> paired =
            csvColumn(path, csvTotalColumn(kTemplateChannels, static_cast<std::size_t>(slave - 1)));
        const std::vector<long> masters = csvColumn(path, kCsvTotalColumn);
        for (std::size_t line = 0; line < paired.size(); ++line) {
            if (paired[line] == 0) continue; // before the slave's first scan
            EXPECT_LE(std::abs(paired[line] - masters[line]), 1) << "slave " << slave << " line " << line;
        }
        // A slave's disable goes out a round trip or two after the Master's: a stall there of an interval
        // on a loaded machine lets a second slave scan follow the one paired with the Master's last.
        EXPECT_GE(paired.back(), counted.produced - 2) << "slave " << slave;
    }
}

// The tick that finds the duration passed reads first and stops after: a
// scan the instrument makes between that read and the disable is still read.
TEST_F(LoggingReliability, AStopByTheDurationDrainsAScanMadeBetweenTheLastReadAndTheDisable) {
    startInstruments({1});
    const std::string path = logToFile(1, FileFormat::FastBinary, "timed.bin", 3600);
    table.slot(1).setup->stopAfterDuration = true;
    table.slot(1).setup->duration = 5;
    startLogging(slots({1}));
    clock.set({std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()), 0});
    ASSERT_TRUE(tickUntil([&] { return sim->counters(1).queued == 0; }, 5000));

    control("push-before 1 " + std::to_string(kScansDisable) + " 1");
    clock.advance(6000);
    tick(); // an empty read, then the stop
    ASSERT_EQ(state(1, "scanning"), "0");
    ASSERT_TRUE(tickUntil([&] { return !engine.run(1).logging; }, 5000));
    ASSERT_TRUE(files.close(1));

    expectAllFetched(1);
    EXPECT_EQ(binaryScanNumbers(path, scanRecordSize(*table.slot(1).setup)), firstScans(sim->counters(1).produced));
    EXPECT_TRUE(ui.warnings().empty());
}

TEST_F(LoggingReliability, ASilenceIsWarnedOnceReArmedByAGoodReadAndLosesNoScan) {
    startInstruments({1, 2});
    ASSERT_EQ(kvxTimeoutSet(1), KVX_OK);
    const std::string quiet = logToFile(1, FileFormat::Ascii, "quiet.csv", 0.1);
    const std::string steady = logToFile(2, FileFormat::FastBinary, "steady.bin", 0.05);
    startLogging(slots({1, 2}));
    tickFor(std::chrono::milliseconds(300));

    control("silent 1");
    const std::size_t requestsBefore = sim->requests(1).size();
    // Two unanswered reads: each one times out and the next one reconnects.
    ASSERT_TRUE(tickUntil([&] { return sim->requests(1).size() >= requestsBefore + 2; }, 8000));
    ASSERT_EQ(ui.warnings().size(), 1u);
    EXPECT_EQ(ui.warnings()[0].kind, WarningKind::CommunicationInterruption);
    EXPECT_EQ(ui.warnings()[0].text, "Instrument 01:  Communication Interruption (2027)!");
    EXPECT_TRUE(engine.run(1).logging);

    control("clear 1");
    ASSERT_TRUE(tickUntil([&] { return !engine.run(1).communicationErrorShown; }, 5000));
    EXPECT_EQ(ui.warnings().size(), 1u);
    control("error 1 -7 100 1");
    ASSERT_TRUE(tickUntil([&] { return ui.warnings().size() == 2; }, 2000)) << "warned again";
    EXPECT_EQ(ui.warnings()[1].text, "Instrument 01:  Communication Interruption (7)!");
    tickFor(std::chrono::milliseconds(100));

    ASSERT_TRUE(stopAllAndDrain(5000));
    expectAllFetched(1);
    expectAllFetched(2);
    EXPECT_EQ(csvColumn(quiet, kCsvTotalColumn), firstScans(sim->counters(1).produced));
    EXPECT_EQ(binaryScanNumbers(steady, scanRecordSize(*table.slot(2).setup)), firstScans(sim->counters(2).produced));
    EXPECT_EQ(ui.warnings().size(), 2u);
}

TEST_F(LoggingReliability, BusyRepliesWhileDrainingNeitherEndTheDrainNorLoseScans) {
    startInstruments({{1, KVX_MODEL_M200A}});
    const std::string path = logToFile(1, FileFormat::FastBinary, "busy.bin", 0.01);
    startLogging(slots({1}));
    tickFor(std::chrono::milliseconds(300));
    answerBusyAfterStop();
    ASSERT_TRUE(instrumentHolds(1, 150));

    ASSERT_TRUE(stopAllAndDrain(5000));
    EXPECT_GT(scanReadsAfterStop(1), 5) << "reads answered busy went on";
    expectAllFetched(1);
    EXPECT_EQ(binaryScanNumbers(path, scanRecordSize(*table.slot(1).setup)), firstScans(sim->counters(1).produced));
    EXPECT_TRUE(ui.warnings().empty());
}

TEST_F(LoggingReliability, BusyRepliesWhileAGroupDrainsLoseNoMasterScan) {
    startInstruments({{1, KVX_MODEL_M200A}, {2, KVX_MODEL_M200A}});
    const std::string path = startGroupLogging(FileFormat::FastBinary, "group.bin", 0.02);
    tickFor(std::chrono::milliseconds(300));
    answerBusyAfterStop();
    // More than one read: a Master writing a file reads 20 scans at a time.
    ASSERT_TRUE(instrumentHolds(1, 30));

    ASSERT_TRUE(stopAllAndDrain(5000));
    EXPECT_GT(scanReadsAfterStop(1), 5) << "reads answered busy went on";
    expectAllFetched(1);
    const std::size_t mergedSize = scanRecordSize(*table.slot(1).setup) + scanRecordSize(*table.slot(2).setup) - 12;
    EXPECT_EQ(binaryScanNumbers(path, mergedSize), firstScans(sim->counters(1).produced));
    EXPECT_EQ(sim->counters(2).lost + sim->counters(2).cleared, 0);
    EXPECT_TRUE(ui.warnings().empty());
}

} // namespace
} // namespace korvel
