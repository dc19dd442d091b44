#include "logging/compatibility_check.h"
#include "logging/open_communications.h"

#include "simulated_logger.h"

namespace korvel {
namespace {

TEST(CompatibilityNumber, ReadFromTheThirdCharacter) {
    EXPECT_DOUBLE_EQ(compatibilityNumber("V 1.0"), 1.0);
    EXPECT_DOUBLE_EQ(compatibilityNumber("V 1.99"), 1.99);
    EXPECT_DOUBLE_EQ(compatibilityNumber("V 12"), 12.0);
    EXPECT_DOUBLE_EQ(compatibilityNumber("V"), 0.0);
    EXPECT_DOUBLE_EQ(compatibilityNumber("V x"), 0.0);
}

TEST(CompatibilityNumber, OnlyNumbersBelowTwoAndAboveZeroPass) {
    EXPECT_EQ(compatibilityProblem(0.0), 25);
    EXPECT_EQ(compatibilityProblem(-1.0), 25);
    EXPECT_EQ(compatibilityProblem(0.01), 0);
    EXPECT_EQ(compatibilityProblem(1.99), 0);
    EXPECT_EQ(compatibilityProblem(2.0), 26);
}

class CompatibilityCheck : public SimulatedLogger {
protected:
    void SetUp() override {
        SimulatedLogger::SetUp();
        startInstruments({3});
        ASSERT_TRUE(openCommunications(link, 3, OpenMode::Silent, ui));
    }
    void TearDown() override {
        kvxCommClose(3);
        SimulatedLogger::TearDown();
    }

    Compatibility check() { return checkCompatibility(link, 3, *table.slot(1).setup, ui); }
    InstrumentSetup &setup() { return *table.slot(1).setup; }
};

TEST_F(CompatibilityCheck, CurrentSoftwareTakesTheFullConfiguration) {
    control("compat 3 V_1.99"); // a control line cannot carry the space
    const Compatibility result = check();
    EXPECT_TRUE(result.compatible);
    EXPECT_EQ(result.configurationLevel, 2);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(CompatibilityCheck, NewerSoftwareThanTheLoggerKnowsIsRefused) {
    control("compat 3 V_2.0");
    EXPECT_FALSE(check().compatible);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(26, 3)}));
}

TEST_F(CompatibilityCheck, OutdatedSoftwareIsRefused) {
    control("compat 3 V_0.0");
    EXPECT_FALSE(check().compatible);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(25, 3)}));
}

TEST_F(CompatibilityCheck, OlderSoftwareTakesTheConfigurationWithoutEquations) {
    control("compat 3 old");
    const Compatibility result = check();
    EXPECT_TRUE(result.compatible);
    EXPECT_EQ(result.configurationLevel, 1);

    setup().channel(21).function = ChannelFunction::Equation;
    EXPECT_FALSE(check().compatible);
    setup().channel(21).function = ChannelFunction::Off;
    setup().channel(4).function = ChannelFunction::Rtd4W;
    setup().channel(4).range = RangeCode::RtdCustom385;
    EXPECT_FALSE(check().compatible);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>(2, instrumentMessage(27, 3))));

    setup().channel(4).range = RangeCode::RtdFixed385;
    EXPECT_TRUE(check().compatible) << "a fixed RTD is known to older software";
}

TEST_F(CompatibilityCheck, AnyOtherAnswerIsACommunicationInterruption) {
    control("error 3 -7 127 1");
    EXPECT_FALSE(check().compatible);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(18, 3)}));
}

} // namespace
} // namespace korvel
