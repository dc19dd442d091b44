#include "recording_runs.h"
#include "simulated_logger.h"

namespace korvel {
namespace {

using Calls = std::vector<std::string>;

class LoggingCommandTargets : public ::testing::Test {
protected:
    CommandBench bench;
};

TEST_F(LoggingCommandTargets, StartInstrumentStartsAnAsyncAloneAtOnce) {
    bench.addInstruments(2);
    bench.logToDataFile({2});
    EXPECT_EQ(bench.commands.startInstrument(2).reply, ToolboxReply::Done);
    EXPECT_EQ(bench.runs.calls, (Calls{"start 2 delay 0"}));
    EXPECT_EQ(bench.log.events, (Calls{"open 2", "status window"})) << "the file is opened before the start";
}

TEST_F(LoggingCommandTargets, StartInstrumentRefusesWhatItCannotStart) {
    bench.addInstruments(3);
    bench.makeGroup();
    bench.runs.setLogging({1});
    EXPECT_EQ(bench.commands.startInstrument(0).reply, ToolboxReply::NoSuchInstrument);
    EXPECT_EQ(bench.commands.startInstrument(4).reply, ToolboxReply::NoSuchInstrument);
    EXPECT_EQ(bench.commands.startInstrument(2).reply, ToolboxReply::Slave);
    EXPECT_EQ(bench.commands.startInstrument(1).reply, ToolboxReply::InstrumentLogging);
    EXPECT_TRUE(bench.runs.calls.empty());
    EXPECT_TRUE(bench.log.events.empty());
}

TEST_F(LoggingCommandTargets, AGroupStartsTogetherLaterTheMoreSlavesItHas) {
    struct Case {
        int slaves;
        const char *call;
    };
    for (const Case &c :
         {Case{1, "start 1,2 delay 3"}, Case{5, "start 1,2,3,4,5,6 delay 3"}, Case{6, "start 1,2,3,4,5,6,7 delay 6"}}) {
        CommandBench group;
        group.options.wiredGroup = false;
        group.addInstruments(c.slaves + 1);
        group.makeGroup();
        group.commands.startInstrument(1);
        EXPECT_EQ(group.runs.calls, (Calls{c.call})) << c.slaves << " slaves";
    }
}

TEST_F(LoggingCommandTargets, AWiredGroupStartsItsSlavesFirstAndTheMasterASecondLater) {
    bench.addInstruments(3);
    bench.makeGroup();
    bench.logToDataFile({1});
    EXPECT_EQ(bench.commands.startInstrument(1).reply, ToolboxReply::Done);
    EXPECT_EQ(bench.runs.calls, (Calls{"start 2,3 delay 0", "start 1 delay 1"}));
    EXPECT_EQ(bench.log.events, (Calls{"open 1", "status window"}));
}

TEST_F(LoggingCommandTargets, AWiredGroupWhoseMasterFailsStopsItsSlavesAndClosesTheFile) {
    bench.addInstruments(3);
    bench.makeGroup();
    bench.logToDataFile({1});
    bench.runs.failingSlots = slotBit(1);
    EXPECT_EQ(bench.commands.startInstrument(1).reply, ToolboxReply::Done);
    EXPECT_EQ(bench.runs.calls, (Calls{"start 2,3 delay 0", "start 1 delay 1", "stop 2,3"}));
    EXPECT_EQ(bench.log.events, (Calls{"open 1", "close 1"})) << "no status window after a failure";
}

TEST_F(LoggingCommandTargets, AWiredGroupWhoseSlavesFailNeverStartsTheMaster) {
    bench.addInstruments(2);
    bench.makeGroup();
    bench.runs.failingSlots = slotBit(2);
    bench.commands.startInstrument(1);
    EXPECT_EQ(bench.runs.calls, (Calls{"start 2 delay 0"}));
}

TEST_F(LoggingCommandTargets, ADataFileThatCannotBeOpenedEndsTheStartUntried) {
    bench.addInstruments(1);
    bench.logToDataFile({1});
    bench.files.unopenableSlots = slotBit(1);
    EXPECT_EQ(bench.commands.startInstrument(1).failedBcn, 1);
    EXPECT_TRUE(bench.runs.calls.empty());
    EXPECT_EQ(bench.log.events, (Calls{"open 1"}));
}

TEST_F(LoggingCommandTargets, TheStatusWindowFollowsTheOption) {
    bench.addInstruments(1);
    bench.options.statusOnStart = false;
    bench.commands.startInstrument(1);
    EXPECT_TRUE(bench.log.events.empty());
}

TEST_F(LoggingCommandTargets, StartAllStartsTheAsyncsTogetherAndThenTheGroup) {
    bench.addInstruments(5); // slots 1 Master, 2 Slave, 3..5 Async
    bench.table.setRole(1, GroupRole::Master);
    bench.table.setRole(2, GroupRole::Slave);
    bench.runs.setLogging({5});
    bench.logToDataFile({1, 2, 3, 5});
    EXPECT_EQ(bench.commands.startAll().reply, ToolboxReply::Done);
    EXPECT_EQ(bench.runs.calls, (Calls{"start 3,4 delay 3", "start 2 delay 0", "start 1 delay 1"}));
    EXPECT_EQ(bench.log.events, (Calls{"open 1", "open 3", "status window"}))
        << "neither a Slave nor a logging instrument opens a file";
}

TEST_F(LoggingCommandTargets, StartAllOfASingleAsyncStillWaitsForTheCommonStart) {
    bench.addInstruments(1);
    bench.commands.startAll();
    EXPECT_EQ(bench.runs.calls, (Calls{"start 1 delay 3"}));
}

TEST_F(LoggingCommandTargets, StartAllRefusesWhenNothingIsLeftToStart) {
    EXPECT_EQ(bench.commands.startAll().reply, ToolboxReply::NoSuchInstrument);
    bench.addInstruments(2);
    bench.makeGroup();
    bench.runs.setLogging({1});
    EXPECT_EQ(bench.commands.startAll().reply, ToolboxReply::InstrumentLogging) << "only a Slave is not logging";
    EXPECT_TRUE(bench.runs.calls.empty());
}

TEST_F(LoggingCommandTargets, StartAllClosesTheFilesItOpenedWhenAnotherCannotBeOpened) {
    bench.addInstruments(3);
    bench.logToDataFile({1, 2, 3});
    bench.files.unopenableSlots = slotBit(3);
    EXPECT_EQ(bench.commands.startAll().failedBcn, 3);
    EXPECT_EQ(bench.log.events, (Calls{"open 1", "open 2", "open 3", "close 1", "close 2"}));
    EXPECT_TRUE(bench.runs.calls.empty());
}

TEST_F(LoggingCommandTargets, StartAllWhoseGroupFailsClosesOnlyTheFilesOfWhatDidNotStart) {
    bench.addInstruments(3); // 1 Master, 2 Slave, 3 Async
    bench.table.setRole(1, GroupRole::Master);
    bench.table.setRole(2, GroupRole::Slave);
    bench.logToDataFile({1, 3});
    bench.runs.failingSlots = slotBit(1);
    bench.commands.startAll();
    EXPECT_EQ(bench.log.events, (Calls{"open 1", "open 3", "close 1"})) << "the Async instrument logs on into its file";
}

TEST_F(LoggingCommandTargets, StartAllWhoseAsyncsFailLeavesTheGroupAlone) {
    bench.addInstruments(2);
    bench.table.setRole(1, GroupRole::Master);
    bench.logToDataFile({1, 2});
    bench.runs.failingSlots = slotBit(2);
    bench.commands.startAll();
    EXPECT_EQ(bench.runs.calls, (Calls{"start 2 delay 3"}));
    EXPECT_EQ(bench.log.events, (Calls{"open 1", "open 2", "close 1", "close 2"}));
}

TEST_F(LoggingCommandTargets, StopInstrumentStopsAnAsyncAloneAndAMasterWithItsGroup) {
    bench.addInstruments(3);
    bench.table.setRole(1, GroupRole::Master);
    bench.table.setRole(2, GroupRole::Slave);
    bench.runs.setLogging({1, 2, 3});
    bench.runs.stopReply = ToolboxReply::UnableToStop;
    EXPECT_EQ(bench.commands.stopInstrument(3, CommandSource::Remote).reply, ToolboxReply::UnableToStop);
    EXPECT_EQ(bench.commands.stopInstrument(1, CommandSource::User).reply, ToolboxReply::UnableToStop);
    EXPECT_EQ(bench.runs.calls, (Calls{"stop 3 remote", "stop group"}));
}

TEST_F(LoggingCommandTargets, StopInstrumentRefusesWhatItCannotStop) {
    bench.addInstruments(3);
    bench.makeGroup();
    bench.runs.setLogging({1, 2});
    bench.runs.stoppingSlots[1] = true;
    EXPECT_EQ(bench.commands.stopInstrument(0, CommandSource::Remote).reply, ToolboxReply::NoSuchInstrument);
    EXPECT_EQ(bench.commands.stopInstrument(2, CommandSource::Remote).reply, ToolboxReply::Slave);
    EXPECT_EQ(bench.commands.stopInstrument(1, CommandSource::Remote).reply, ToolboxReply::NotLogging)
        << "already stopping";
    bench.table.setRole(3, GroupRole::Async);
    EXPECT_EQ(bench.commands.stopInstrument(3, CommandSource::Remote).reply, ToolboxReply::NotLogging);
    EXPECT_TRUE(bench.runs.calls.empty());
}

TEST_F(LoggingCommandTargets, StopAllStopsTheGroupFirstAndThenTheRestTogether) {
    bench.addInstruments(4); // 1 Master, 2 Slave, 3 and 4 Async
    bench.table.setRole(1, GroupRole::Master);
    bench.table.setRole(2, GroupRole::Slave);
    bench.runs.groupSlots = slotBit(1) | slotBit(2);
    bench.runs.setLogging({1, 2, 3, 4});
    bench.runs.stoppingSlots[4] = true;
    EXPECT_EQ(bench.commands.stopAll(CommandSource::Remote).reply, ToolboxReply::Done);
    EXPECT_EQ(bench.runs.calls, (Calls{"stop group remote", "stop 3 remote"}));
}

TEST_F(LoggingCommandTargets, StopAllFromTheToolboxNeedsAnInstrumentToStop) {
    EXPECT_EQ(bench.commands.stopAll(CommandSource::Remote).reply, ToolboxReply::NoSuchInstrument);
    bench.addInstruments(2);
    bench.runs.setLogging({1});
    bench.runs.stoppingSlots[1] = true;
    EXPECT_EQ(bench.commands.stopAll(CommandSource::Remote).reply, ToolboxReply::NotLogging);
    EXPECT_TRUE(bench.runs.calls.empty());
}

// The same commands through the logging engine against instruments.
class LoggingCommandsOnInstruments : public SimulatedLogger {
protected:
    EngineRuns runs{engine};
    LoggingCommands commands{table, options, link, runs, files, frontEnd, clock};
};

TEST_F(LoggingCommandsOnInstruments, AnAsyncInstrumentStartsScanningAtOnceAndStops) {
    startInstruments({1, 2});
    ASSERT_EQ(commands.startInstrument(2).reply, ToolboxReply::Done);
    EXPECT_TRUE(engine.run(2).logging);
    EXPECT_FALSE(engine.run(1).logging);
    EXPECT_EQ(state(2, "scanning"), "1");
    EXPECT_EQ(state(2, "enable-mode"), "0") << "no scheduled start";

    EXPECT_EQ(commands.stopAll(CommandSource::User).reply, ToolboxReply::Done);
    EXPECT_TRUE(engine.run(2).draining);
    EXPECT_EQ(state(2, "scanning"), "0");
}

TEST_F(LoggingCommandsOnInstruments, AnUnwiredGroupStartsAtOneScheduledTime) {
    startInstruments({1, 2, 3});
    options.wiredGroup = false;
    table.setRole(1, GroupRole::Master);
    table.setRole(2, GroupRole::Slave);
    table.setRole(3, GroupRole::Slave);
    ASSERT_EQ(commands.startInstrument(1).reply, ToolboxReply::Done);
    for (const int bcn : {1, 2, 3}) {
        EXPECT_TRUE(engine.run(bcn).logging);
        EXPECT_EQ(state(bcn, "enable-mode"), "1") << bcn;
    }
}

TEST_F(LoggingCommandsOnInstruments, AWiredGroupWhoseMasterFailsLeavesTheSlavesStopped) {
    startInstruments({1, 2, 3});
    table.setRole(1, GroupRole::Master);
    table.setRole(2, GroupRole::Slave);
    table.setRole(3, GroupRole::Slave);
    control("status 1 0x400"); // the Master does not respond

    commands.startInstrument(1);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(714, 1)}));
    EXPECT_FALSE(engine.run(1).logging);
    for (const int bcn : {2, 3}) {
        EXPECT_EQ(state(bcn, "scanning"), "0") << bcn;
        EXPECT_TRUE(engine.run(bcn).draining) << bcn;
    }
    EXPECT_EQ(std::count(log.events.begin(), log.events.end(), "status window"), 0);
}

} // namespace
} // namespace korvel
