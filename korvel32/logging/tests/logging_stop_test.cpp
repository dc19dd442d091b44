#include "simulated_logger.h"

#include <algorithm>

namespace korvel {
namespace {

class LoggingStop : public SimulatedLogger {
protected:
    // Instruments logging from now on, and the record of their start forgotten.
    void startLogging(std::initializer_list<int> bcns) {
        startInstruments(bcns);
        std::uint32_t mask = 0;
        for (int slot = 1; slot <= static_cast<int>(bcns.size()); ++slot) mask |= slotBit(slot);
        ASSERT_TRUE(engine.startLogging(mask, 0));
        log.events.clear();
    }

    std::vector<std::string> endedEvents(int slot) {
        const std::string n = std::to_string(slot);
        return {"row " + n, "close " + n, "toolbox " + n + " off", "icon " + n};
    }
};

TEST_F(LoggingStop, ScanningStopsAndTheRunDrainsItsRemainingScans) {
    startLogging({1});
    ASSERT_EQ(kvxInstMonitor(1, 1, 3), KVX_OK); // as a monitor channel of the setup would be

    EXPECT_EQ(engine.stopLogging(slots({1})), ToolboxReply::Done);
    EXPECT_TRUE(engine.run(1).logging && engine.run(1).draining);
    EXPECT_EQ(state(1, "scanning"), "0");
    EXPECT_EQ(state(1, "monitor"), "0");
    EXPECT_EQ(connections(1), 1) << "the logging tick still reads the remaining scans";
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(engine.busy());

    const std::size_t requests = sim->requests(1).size();
    engine.stopLogging(slots({1}));
    EXPECT_EQ(sim->requests(1).size(), requests) << "a draining run is not stopped again";
}

TEST_F(LoggingStop, AnInstrumentAnsweringMinusFiveEndsItsRunWithoutWarning) {
    startLogging({1});
    control("error 1 -5 104 1");
    EXPECT_EQ(engine.stopLogging(slots({1})), ToolboxReply::Done);
    EXPECT_FALSE(engine.run(1).logging || engine.run(1).draining);
    EXPECT_TRUE(ui.warnings().empty());
    EXPECT_EQ(log.events, endedEvents(1));
    EXPECT_TRUE(kvtest::waitFor([&] { return connections(1) == 0; }, 2000));
}

TEST_F(LoggingStop, AnyOtherRefusalIsWarnedAboutOrRepliedToTheToolbox) {
    startLogging({1, 2});
    control("error * -7 104");
    EXPECT_EQ(engine.stopLogging(slots({1})), ToolboxReply::Done);
    ASSERT_EQ(ui.warnings().size(), 1u);
    EXPECT_EQ(ui.warnings()[0].kind, WarningKind::DataFile);
    EXPECT_EQ(ui.warnings()[0].text, instrumentMessage(55, 1));
    EXPECT_FALSE(engine.run(1).logging);

    EXPECT_EQ(engine.stopLogging(slots({2}), CommandSource::Remote), ToolboxReply::UnableToStop);
    EXPECT_EQ(ui.warnings().size(), 1u) << "a remote command is answered instead";
    EXPECT_FALSE(engine.run(2).logging);
}

TEST_F(LoggingStop, ADataFileThatCannotBeClosedIsReported) {
    startLogging({1, 2});
    control("error * -5 104");
    files.closes = false;
    engine.stopLogging(slots({1}));
    ASSERT_EQ(ui.warnings().size(), 1u);
    EXPECT_EQ(ui.warnings()[0].text, instrumentMessage(35, 1));

    toolbox.setRemoteMode(true);
    engine.stopLogging(slots({2}));
    EXPECT_EQ(ui.warnings().size(), 1u);
    EXPECT_EQ(log.events.back(), "icon 2");
    EXPECT_NE(std::find(log.events.begin(), log.events.end(), "error 2 4"), log.events.end());
}

TEST_F(LoggingStop, ASimulatedRunEndsAtOnce) {
    startInstruments({1});
    options.simulateData = true;
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    log.events.clear();
    engine.stopLogging(slots({1}));
    EXPECT_FALSE(engine.run(1).logging);
    EXPECT_EQ(log.events, endedEvents(1));
    EXPECT_TRUE(sim->requests(1).empty());
}

TEST_F(LoggingStop, AGroupStopReachesTheMasterAndEverySlave) {
    startLogging({1, 2, 3, 4});
    table.setRole(1, GroupRole::Slave);
    table.setRole(2, GroupRole::Master);
    table.setRole(4, GroupRole::Slave);
    for (const bool wired : {true, false}) {
        options.wiredGroup = wired;
        EXPECT_EQ(engine.stopGroup(), ToolboxReply::Done);
        for (const int slot : {1, 2, 4}) EXPECT_TRUE(engine.run(slot).draining) << slot;
        EXPECT_FALSE(engine.run(3).draining) << "an Async instrument goes on";
        for (const int slot : {1, 2, 4}) engine.endRun(slot);
        ASSERT_TRUE(engine.startLogging(slots({1, 2, 4}), 0));
    }
}

} // namespace
} // namespace korvel
