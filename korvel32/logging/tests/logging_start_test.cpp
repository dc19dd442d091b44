#include "simulated_logger.h"

#include <algorithm>
#include <ostream>

namespace korvel {
namespace {

class LoggingStart : public SimulatedLogger {
protected:
    // The payload (after the 16-byte header) of the instrument's last request with this command.
    std::string lastPayload(int bcn, int command) {
        const std::vector<std::string> requests = sim->requests(bcn);
        for (auto it = requests.rbegin(); it != requests.rend(); ++it) {
            if (std::stoul(it->substr(16, 8), nullptr, 16) == static_cast<unsigned long>(command))
                return it->substr(32);
        }
        return {};
    }

    int count(int bcn, int command) {
        const std::vector<int> commands = sim->requestCommands(bcn);
        return static_cast<int>(std::count(commands.begin(), commands.end(), command));
    }
};

TEST_F(LoggingStart, TwoInstrumentsScanFromOneCommonStartTime) {
    startInstruments({1, 2});
    table.slot(2).setup->monitorChannel = 2;
    ASSERT_TRUE(engine.startLogging(slots({1, 2}), 3));

    EXPECT_TRUE(ui.messages().empty());
    for (const int bcn : {1, 2}) {
        EXPECT_EQ(connections(bcn), 1) << "communications stay open while logging";
        EXPECT_EQ(state(bcn, "enable-mode"), "1") << "a scheduled start";
        EXPECT_EQ(count(bcn, 129), 1) << "the configuration with equations";
        EXPECT_EQ(count(bcn, 113), 1) << "the totalizer is cleared on start";
    }
    EXPECT_EQ(lastPayload(1, 103), lastPayload(2, 103));
    EXPECT_EQ(state(1, "monitor"), "0");
    EXPECT_EQ(state(2, "monitor"), "2");
    EXPECT_TRUE(engine.run(1).logging && engine.run(2).logging);
    EXPECT_EQ(engine.run(1).stopTime, kNoStopTime);
    EXPECT_FALSE(engine.busy());
    EXPECT_EQ(ui.busyDepth(), 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{"toolbox 1 on", "icon 1", "selected 1", "toolbox 2 on", "icon 2",
                                                    "selected 2"}));
}

TEST_F(LoggingStart, AnInstrumentThatRejectsTheStartTimeStartsAtOnce) {
    startInstruments({1, 2});
    control("error 2 -11 103 1");
    ASSERT_TRUE(engine.startLogging(slots({1, 2}), 3));
    EXPECT_EQ(state(1, "enable-mode"), "1");
    EXPECT_EQ(state(2, "enable-mode"), "0");
    EXPECT_EQ(count(2, 103), 2);
}

TEST_F(LoggingStart, WithoutDelayScanningStartsAtOnce) {
    startInstruments({1});
    options.resetTotalizer = false;
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    EXPECT_EQ(state(1, "enable-mode"), "0");
    EXPECT_EQ(count(1, 103), 1);
    EXPECT_EQ(count(1, 113), 0);
}

TEST_F(LoggingStart, OlderInstrumentSoftwareTakesTheShortConfiguration) {
    startInstruments({1});
    control("compat 1 old");
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    EXPECT_EQ(count(1, 108), 1);
    EXPECT_EQ(count(1, 129), 0);
}

TEST_F(LoggingStart, OnlyIdleInstrumentsInUseTakePart) {
    startInstruments({1});
    EXPECT_TRUE(engine.startLogging(slots({4}), 0)) << "an empty selection succeeds";
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    const std::size_t requests = sim->requests(1).size();
    EXPECT_TRUE(engine.startLogging(slots({1}), 0));
    EXPECT_EQ(sim->requests(1).size(), requests) << "a logging instrument is not started again";
}

TEST_F(LoggingStart, AnInstrumentWithoutInputChannelsIsRefusedBeforeAnyContact) {
    startInstruments({1, 2});
    for (int channel = 1; channel <= kAnalogChannels; ++channel) table.slot(2).setup->channel(channel) = {};
    EXPECT_FALSE(engine.startLogging(slots({1, 2}), 3));
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(14, 2)}));
    EXPECT_TRUE(sim->requests(1).empty());
    EXPECT_FALSE(engine.run(1).logging);
}

TEST_F(LoggingStart, AnInstrumentThatIsNotRespondingFailsTheStart) {
    startInstruments({1});
    control("status 1 0x400");
    EXPECT_FALSE(engine.startLogging(slots({1}), 0));
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(714, 1)}));
}

// The library checks the block before sending it; what it refuses never
// reaches an instrument.
TEST_F(LoggingStart, AConfigurationTheLibraryRefusesFailsTheWholeStart) {
    startInstruments({1, 2});
    link.configSetCodes = {KVX_OK, KVX_E_BAD_CONFIG};
    EXPECT_FALSE(engine.startLogging(slots({1, 2}), 3));
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(18, 2)}));
    for (const int bcn : {1, 2}) {
        EXPECT_EQ(count(bcn, 103), 0) << "no instrument starts scanning";
        EXPECT_TRUE(kvtest::waitFor([&] { return connections(bcn) == 0; }, 2000)) << "communications closed";
    }
    EXPECT_FALSE(engine.run(1).logging || engine.run(2).logging);
}

TEST_F(LoggingStart, ASimulatedStartContactsNoInstrument) {
    startInstruments({1, 2});
    options.simulateData = true;
    table.setRole(1, GroupRole::Master);
    table.setRole(2, GroupRole::Slave);
    for (const int slot : {1, 2}) {
        table.slot(slot).setup->stopAfterDuration = true;
        table.slot(slot).setup->duration = 60;
    }
    ASSERT_TRUE(engine.startLogging(slots({1, 2}), 3));
    EXPECT_TRUE(sim->requests(1).empty() && sim->requests(2).empty());
    EXPECT_TRUE(engine.run(1).logging && engine.run(2).logging);
    EXPECT_EQ(engine.run(1).stopTime, clock.now().seconds + 60);
    EXPECT_EQ(engine.run(2).stopTime, kNoStopTime) << "a Slave stops with its Master";
}

TEST_F(LoggingStart, TheRunStartsOverFromAClearBuffer) {
    startInstruments({1});
    table.setRole(1, GroupRole::Master);
    table.slot(1).setup->dataFile.enabled = true;
    LoggingRun &run = engine.run(1);
    run.totalScans = 99;
    run.hasData = run.draining = run.overflowShown = true;
    engine.scanBuffer(1).setHeader({148, 5, 7});
    engine.scanBuffer(1).pairingIndex = 3;
    ASSERT_TRUE(engine.startLogging(slots({1}), 1));

    EXPECT_EQ(run.totalScans, 0);
    EXPECT_FALSE(run.hasData || run.draining || run.overflowShown);
    EXPECT_EQ(run.daylight.b, 1);
    const ScanBufferHeader header = engine.scanBuffer(1).header();
    EXPECT_EQ(header.recordSize, 28 + 3 * 4) << "three VDC channels";
    EXPECT_EQ(header.count, 0);
    EXPECT_EQ(engine.scanBuffer(1).pairingIndex, ScanBuffer::kHeldMasterWaits);
    EXPECT_EQ(engine.scanBuffer(1).batchSize, ScanBuffer::kMasterBatch) << "a Master pairing its slaves' scans";
}

TEST(ScanBatchSize, AsManyScansAsTheRecordAreaHoldsUpToOneHundred) {
    EXPECT_EQ(scanBatchSize(148, false), 20);
    EXPECT_EQ(scanBatchSize(40, false), 74);
    EXPECT_EQ(scanBatchSize(28 + 4, false), 92);
    EXPECT_EQ(scanBatchSize(28, false), 100);
    EXPECT_EQ(scanBatchSize(32, true), 20);
}

// Each step of a start that can fail, with the fault that fails it on the
// second instrument and the message the user sees.
struct StartFailure {
    const char *name;
    const char *fault;
    int message;
};

// Test listings show the case by its name rather than as raw bytes.
void PrintTo(const StartFailure &tested, std::ostream *out) { *out << tested.name; }

class LoggingStartFailure : public LoggingStart, public ::testing::WithParamInterface<StartFailure> {};

TEST_P(LoggingStartFailure, LeavesEveryInstrumentIdleWithCommunicationsClosed) {
    startInstruments({1, 2});
    control(GetParam().fault);
    EXPECT_FALSE(engine.startLogging(slots({1, 2}), 3));

    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(GetParam().message, 2)}));
    for (const int slot : {1, 2}) {
        EXPECT_FALSE(engine.run(slot).logging);
        EXPECT_TRUE(kvtest::waitFor([&] { return connections(slot) == 0; }, 2000)) << "instrument " << slot;
        EXPECT_EQ(state(slot, "scanning"), "0") << "instrument " << slot;
    }
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(engine.busy());
    EXPECT_EQ(ui.busyDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, LoggingStartFailure,
    ::testing::Values(StartFailure{"Open", "report-bcn 2 7", 646}, StartFailure{"Compatibility", "compat 2 V_2.0", 26},
                      StartFailure{"InvalidTime", "error 2 -2 106 1", 19},
                      StartFailure{"TimeSet", "error 2 -7 106 1", 18}, StartFailure{"Download", "error 2 -7 129 1", 18},
                      StartFailure{"Totalizer", "error 2 -7 113 1", 18},
                      StartFailure{"EnableScanning", "error 2 -7 103", 18}),
    [](const ::testing::TestParamInfo<StartFailure> &failure) { return std::string(failure.param.name); });

} // namespace
} // namespace korvel
