#include "logging/open_communications.h"

#include "simulated_logger.h"

namespace korvel {
namespace {

// One instrument with three VDC channels, open and ready to be read.
class ReadScans : public SimulatedLogger {
protected:
    void SetUp() override {
        SimulatedLogger::SetUp();
        startInstruments({4});
        ASSERT_TRUE(openCommunications(link, 4, OpenMode::Silent, ui));
        prepareRun(engine.run(1), engine.scanBuffer(1), *table.slot(1).setup, false);
        engine.run(1).logging = true;
    }
    void TearDown() override {
        kvxCommClose(4);
        SimulatedLogger::TearDown();
    }

    std::vector<std::string> warningTexts() const {
        std::vector<std::string> texts;
        for (const auto &warning : ui.warnings()) texts.push_back(warning.text + "|" + warning.detail);
        return texts;
    }

    LoggingRun &run() { return engine.run(1); }
};

TEST_F(ReadScans, ScansAreCountedAndTheNewestKept) {
    table.slot(1).setup->toolboxQueueSize = 1000;
    control("push 4 5 channels 3");
    ASSERT_TRUE(engine.readScans(1));
    EXPECT_EQ(run().totalScans, 5);
    EXPECT_EQ(run().scansInInstrument, 0);
    EXPECT_TRUE(run().hasData && run().newData);
    EXPECT_FLOAT_EQ(engine.scanBuffer(1).latestScan.readings[0], 5.01f);
    EXPECT_FLOAT_EQ(engine.scanBuffer(1).latestScan.readings[2], 5.03f);
    EXPECT_EQ(log.events, (std::vector<std::string>{"queue 1 5"}));

    ASSERT_TRUE(engine.readScans(1));
    EXPECT_EQ(run().totalScans, 5) << "an empty read changes nothing";
}

TEST_F(ReadScans, AnInterruptionIsWarnedOnceUntilAGoodRead) {
    control("error 4 -7 100 2");
    EXPECT_FALSE(engine.readScans(1));
    EXPECT_FALSE(engine.readScans(1));
    EXPECT_EQ(warningTexts(), (std::vector<std::string>{"Instrument 04:  Communication Interruption (7)!|"}));
    ASSERT_TRUE(engine.readScans(1));
    EXPECT_FALSE(run().communicationErrorShown);

    run().draining = true;
    control("error 4 -3 100 1");
    EXPECT_FALSE(engine.readScans(1));
    EXPECT_EQ(ui.warnings().size(), 1u) << "a draining instrument may still be busy stopping";

    toolbox.setRemoteMode(true);
    control("error 4 -7 100 1");
    EXPECT_FALSE(engine.readScans(1));
    EXPECT_EQ(log.events, (std::vector<std::string>{"error 1 1"}));
}

// The library refuses a read made from inside its own message pump.
TEST_F(ReadScans, ARefusalOfTheLibraryIsAnInterruptionToo) {
    link.scansGetCodes = {KVX_E_BUSY, KVX_E_BUSY};
    EXPECT_FALSE(engine.readScans(1));
    EXPECT_FALSE(engine.readScans(1));
    EXPECT_EQ(warningTexts(), (std::vector<std::string>{"Instrument 04:  Communication Interruption (2029)!|"}));
    EXPECT_EQ(run().totalScans, 0);
    control("push 4 2");
    ASSERT_TRUE(engine.readScans(1)) << "the instrument was never asked, so the run goes on";
    EXPECT_EQ(run().totalScans, 2);
    EXPECT_FALSE(run().communicationErrorShown);
}

TEST_F(ReadScans, TheAttentionFlagBringsTheInstrumentsConditionOnce) {
    control("status 4 0x21");
    ASSERT_TRUE(engine.readScans(1));
    ASSERT_TRUE(engine.readScans(1));
    EXPECT_EQ(warningTexts(), (std::vector<std::string>{instrumentMessage(32, 4) + "|" + resourceString(33),
                                                        instrumentMessage(37, 4) + "|"}));
    control("status 4 0x2");
    options.memoryWrapAround = false;
    ASSERT_TRUE(engine.readScans(1));
    EXPECT_FALSE(run().overflowShown);
    EXPECT_TRUE(run().statusWarningShown);
    EXPECT_EQ(ui.warnings().size(), 2u) << "still a status problem: not shown again";

    control("status 4 0"); // the instrument raises its attention flag while a condition lasts
    ASSERT_TRUE(engine.readScans(1));
    EXPECT_FALSE(run().statusWarningShown);

    control("status 4 0x3");
    toolbox.setRemoteMode(true);
    ASSERT_TRUE(engine.readScans(1));
    EXPECT_EQ(log.events, (std::vector<std::string>{"error 1 8", "error 1 32"}));
}

TEST_F(ReadScans, SimulateModeMakesItsOwnScans) {
    options.simulateData = true;
    ASSERT_TRUE(engine.readScans(1));
    EXPECT_EQ(run().totalScans, 1);
    EXPECT_EQ(engine.scanBuffer(1).latestScan.msAndDio & 0xFF0000u, 0xFF0000u);
    const std::size_t requests = sim->requests(4).size();
    engine.readScans(1);
    EXPECT_EQ(sim->requests(4).size(), requests);
}

} // namespace
} // namespace korvel
