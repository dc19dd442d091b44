#include "logging/logging_tick.h"

#include "logging_with_files.h"

#include <algorithm>
#include <chrono>
#include <map>

namespace korvel {
namespace {

constexpr int kScansGet = 100;

class LoggingTickTest : public LoggingWithFiles {
protected:
    int scanReads(int bcn) {
        const std::vector<int> received = sim->requestCommands(bcn);
        return static_cast<int>(std::count(received.begin(), received.end(), kScansGet));
    }

    // The instruments each tick read from, among the given ones.
    std::vector<int> servedByTicks(int ticks, std::initializer_list<int> bcns) {
        std::vector<int> served;
        for (int i = 0; i < ticks; ++i) {
            std::map<int, int> before;
            for (const int bcn : bcns) before[bcn] = scanReads(bcn);
            tick();
            for (const int bcn : bcns) {
                if (scanReads(bcn) != before[bcn]) served.push_back(bcn);
            }
        }
        return served;
    }
};

TEST_F(LoggingTickTest, LoggingInstrumentsAreServedInTurn) {
    startInstruments({1, 2, 3});
    startLogging(slots({1, 2, 3}));
    EXPECT_EQ(servedByTicks(4, {1, 2, 3}), (std::vector<int>{1, 2, 3, 1}));
    engine.endRun(2);
    // Slot 2 was next: the turn goes to the first logging slot.
    EXPECT_EQ(servedByTicks(3, {1, 2, 3}), (std::vector<int>{1, 3, 1})) << "a slot that stopped is skipped at once";

    remote.receive(static_cast<std::uint32_t>(RemoteCommand::SwitchRemoteMode), 1);
    tick();
    EXPECT_EQ(remote.state(), RemoteCommandState::Idle) << "a tick runs the pending remote command";
    EXPECT_TRUE(toolbox.remoteMode());
}

TEST_F(LoggingTickTest, ATickFindingTheApplicationBusyRestsAndSoDoesTheNext) {
    startInstruments({1});
    startLogging(slots({1}));
    remote.receive(static_cast<std::uint32_t>(RemoteCommand::SwitchRemoteMode), 1);
    {
        BusyMark mark(engine);
        tick();
    }
    EXPECT_TRUE(servedByTicks(1, {1}).empty());
    EXPECT_EQ(remote.state(), RemoteCommandState::Pending) << "not even a remote command";
    EXPECT_EQ(servedByTicks(1, {1}), (std::vector<int>{1}));
    EXPECT_EQ(remote.state(), RemoteCommandState::Idle);
    EXPECT_FALSE(engine.busy());
}

TEST_F(LoggingTickTest, TheLoopMayRestOnlyAfterAWholeCycleReadNothing) {
    EXPECT_TRUE(tick.mayRest()) << "nothing logs";
    startInstruments({1, 2});
    for (const int slot : {1, 2}) table.slot(slot).setup->interval1 = 3600;
    ASSERT_TRUE(engine.startLogging(slots({1, 2}), 0));
    ASSERT_TRUE(tickUntil([&] { return tick.mayRest(); }, 5000));

    control("push 2 3");
    tick(); // instrument 1: nothing
    EXPECT_TRUE(tick.mayRest()) << "the cycle is not over";
    tick(); // instrument 2: three scans
    EXPECT_FALSE(tick.mayRest());
    tick();
    EXPECT_FALSE(tick.mayRest()) << "the cycle that read nothing is not over";
    tick();
    EXPECT_TRUE(tick.mayRest());
}

TEST_F(LoggingTickTest, AFailedWriteIsWarnedOnceUntilAWriteSucceeds) {
    startInstruments({1, 2});
    table.slot(1).setup->dataFile.enabled = true; // but never opened
    DataFileSetup &trend = table.slot(2).setup->dataFile;
    trend.enabled = true;
    trend.format = FileFormat::TrendLink;
    ASSERT_TRUE(engine.startLogging(slots({1, 2}), 0));
    for (int round = 0; round < 2; ++round) {
        control("push * 2");
        servedByTicks(2, {1, 2});
    }
    std::vector<std::string> texts;
    for (const auto &warning : ui.warnings()) texts.push_back(warning.text);
    EXPECT_EQ(texts, (std::vector<std::string>{instrumentMessage(35, 1), instrumentMessage(36, 2)}));
    EXPECT_TRUE(engine.run(1).writeErrorShown);

    toolbox.setRemoteMode(true);
    control("push 1 2");
    servedByTicks(1, {1});
    EXPECT_EQ(log.events.back(), "error 1 4");
    EXPECT_EQ(ui.warnings().size(), 2u);
}

TEST_F(LoggingTickTest, ARunEndsWhenItsDurationHasPassedAndItsScansAreRead) {
    clock.set({std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()), 0});
    startInstruments({1});
    table.slot(1).setup->stopAfterDuration = true;
    table.slot(1).setup->duration = 5;
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    tick();
    EXPECT_FALSE(engine.run(1).draining);

    clock.advance(6000);
    control("push 1 150");
    tick();
    EXPECT_TRUE(engine.run(1).draining);
    EXPECT_EQ(state(1, "scanning"), "0");
    EXPECT_EQ(ui.progressTexts(), (std::vector<std::string>{"Reading Remaining Scans ..."}));

    ASSERT_TRUE(tickUntil([&] { return !engine.run(1).logging; }, 5000));
    EXPECT_EQ(engine.run(1).totalScans, sim->counters(1).produced);
    EXPECT_FALSE(ui.progressShown());
    EXPECT_EQ(connections(1), 0);
}

TEST_F(LoggingTickTest, ADrainingRunEndsOnACommunicationErrorOrOnAbort) {
    startInstruments({1, 2});
    startLogging(slots({1, 2}));
    engine.stopLogging(slots({1, 2}));
    control("error 1 -7 100 1");
    control("push 2 500");
    tick();
    EXPECT_FALSE(engine.run(1).logging);
    EXPECT_TRUE(engine.run(2).draining);
    EXPECT_TRUE(ui.progressShown());

    tick();
    EXPECT_TRUE(engine.run(2).draining) << "scans remain";
    ui.pressAbort();
    tick();
    EXPECT_FALSE(engine.run(2).logging);
    EXPECT_FALSE(ui.progressShown());
    EXPECT_FALSE(ui.abortRequested());
}

TEST_F(LoggingTickTest, SimulateModeMakesOneScanASecond) {
    startInstruments({1});
    options.simulateData = true;
    table.slot(1).setup->interval1 = 0.5;
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    std::int32_t first = 0, now = 0, milliseconds = 0;
    kvxTimeToolbox(&first, &milliseconds);
    for (now = first; now < first + 3; kvxTimeToolbox(&now, &milliseconds)) tickOnce();
    // Ticks over three seconds can touch four whole seconds (the last tick may
    // read the clock just after the loop's bound); a 0.5 s interval would make six.
    EXPECT_GE(engine.run(1).totalScans, 2);
    EXPECT_LE(engine.run(1).totalScans, 4);
    EXPECT_TRUE(sim->requests(1).empty());
}

// A Master group writes one merged record per Master scan, and asks its
// slaves for their error word while the Master brings nothing.
TEST_F(LoggingTickTest, AGroupWritesEveryMasterScanWithItsSlavesScans) {
    startInstruments({1, 2});
    const std::string path = startGroupLogging(FileFormat::FastBinary, "group.bin", 0.2);

    tickFor(std::chrono::milliseconds(1500));
    const auto errorQuestions = [&] {
        const std::vector<int> received = sim->requestCommands(2);
        return std::count(received.begin(), received.end(), 4);
    };
    EXPECT_EQ(errorQuestions(), 1) << "at the first tick without Master scans";
    clock.advance(21'000);
    ASSERT_TRUE(tickUntil([&] { return errorQuestions() == 2; }, 2000));

    engine.stopGroup();
    ASSERT_TRUE(tickUntil([&] { return !engine.run(1).logging && !engine.run(2).logging; }, 5000));
    ASSERT_TRUE(files.close(1));

    const std::size_t masterSize = scanRecordSize(*table.slot(1).setup);
    const std::size_t mergedSize = masterSize + scanRecordSize(*table.slot(2).setup) - 12;
    const std::vector<long> numbers = binaryScanNumbers(path, mergedSize);
    EXPECT_EQ(static_cast<long>(numbers.size()), sim->counters(1).produced) << "the held last scan too";
    for (std::size_t i = 1; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], numbers[i - 1] + 1) << "record " << i;
    // The slave's part starts at its milliseconds; its totalizer counts its scans.
    const std::vector<long> slaveScans = binaryScanNumbers(path, mergedSize, masterSize + 12);
    EXPECT_TRUE(std::is_sorted(slaveScans.begin(), slaveScans.end()));
    EXPECT_GT(slaveScans.back(), slaveScans.front());
}

} // namespace
} // namespace korvel
