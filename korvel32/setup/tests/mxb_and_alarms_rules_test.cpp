#include "setup/alarms_rules.h"
#include "setup/mxb_configuration_rules.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

const InstrumentIdentity kAsync{12, ModelCode::M100A, GroupRole::Async, false, true};

MxbCalculationModel calculation(const MxbCalculationEntries &entries, char decimalSymbol = '.') {
    return MxbCalculationModel(entries, kAsync, decimalSymbol);
}

TEST(MxbCalculation, TwoPointsGiveTheFactorAndOffset) {
    struct Case {
        MxbCalculationEntries entries;
        double m;
        double b;
    };
    const Case cases[] = {
        {{"4", "20", "0", "100"}, 6.25, -25.0},
        {{"20", "4", "0", "100"}, -6.25, 125.0}, // a falling input range
        {{"0,5", "1,5", "", "1"}, 1.0, -0.5},    // an empty entry reads 0
        {{"-9,9999e9", "9,9999e9", "0", "1"}, 1 / 19.9998e9, 0.5},
    };
    for (const Case &c : cases) {
        MxbCalculationModel model = calculation(c.entries, ',');
        ASSERT_EQ(model.accept(), std::nullopt) << c.entries[0];
        EXPECT_DOUBLE_EQ(model.m(), c.m) << c.entries[0];
        EXPECT_DOUBLE_EQ(model.b(), c.b) << c.entries[0];
    }
}

TEST(MxbCalculation, EachRefusalNamesItsEntry) {
    using enum MxbCalculationControl;
    struct Case {
        MxbCalculationEntries entries;
        int messageId;
        MxbCalculationControl focus;
    };
    const Case cases[] = {
        {{"1e10", "20", "0", "100"}, 290, InputMinimum},
        {{"4", "-1e10", "0", "100"}, 291, InputMaximum},
        {{"4", "20", "-9.99991e9", "100"}, 293, ScaledMinimum},
        {{"4", "20", "0", "inf"}, 294, ScaledMaximum},
        {{"4", "4.0000009", "0", "100"}, 292, InputMinimum},
        {{"x", "y", "0", "100"}, 292, InputMinimum},
        {{"0", "1e-6", "0", "1e5"}, 295, InputMinimum}, // M = 1e11
        {{"1e9", "1e9+1", "0", "1"}, 292, InputMinimum},
        {{"1", "2", "9e9", "-9e9"}, 295, InputMinimum}, // M = -1.8e10
    };
    for (const Case &c : cases) {
        MxbCalculationModel model = calculation(c.entries);
        const auto refused = model.accept();
        ASSERT_TRUE(refused) << c.entries[0] << " " << c.entries[1];
        EXPECT_EQ(refused->messageId, c.messageId);
        EXPECT_EQ(refused->text, resourceString(c.messageId));
        EXPECT_EQ(refused->focus, c.focus) << c.messageId;
    }
    // The input range may be exactly 1e-6 wide.
    EXPECT_EQ(calculation({"0", "0.000001", "0", "1"}).accept(), std::nullopt);
}

TEST(MxbConfiguration, FactorAndOffsetWithinTheLimitEnableScalingUnlessTheyChangeNothing) {
    struct Case {
        const char *m;
        const char *b;
        int refusal;
        bool enabled;
        double storedM;
        double storedB;
    };
    const Case cases[] = {
        {"2.5", "-1", 0, true, 2.5, -1.0},
        {"9.9999e9", "-9.9999e9", 0, true, 9.9999e9, -9.9999e9},
        {"1.000009", "0.00000000999", 0, false, 1.0, 0.0},
        {"1.00001", "0", 0, true, 1.00001, 0.0},
        {"", "", 0, true, 0.0, 0.0},
        {"1e10", "0", 289, false, 1.0, 0.0},
        {"1", "-1.1e10", 288, false, 1.0, 0.0},
        {"nan", "0", 289, false, 1.0, 0.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.m) + " " + c.b);
        MxbConfigurationModel model(ChannelSetup{}, kAsync, '.');
        model.setFactorText(c.m);
        model.setOffsetText(c.b);
        const auto refused = model.accept();
        EXPECT_EQ(refused ? refused->messageId : 0, c.refusal);
        if (refused) {
            EXPECT_EQ(refused->focus, c.refusal == 289 ? MxbControl::Factor : MxbControl::Offset);
            continue;
        }
        ChannelSetup channel;
        model.applyTo(channel);
        EXPECT_EQ(channel.mxbEnabled, c.enabled);
        EXPECT_EQ(channel.m, c.storedM);
        EXPECT_EQ(channel.b, c.storedB);
    }
}

TEST(MxbConfiguration, TheCalculationFillsTheFieldsAndRemembersItsEntriesWhileTheDialogIsOpen) {
    ChannelSetup seed;
    seed.mxbEnabled = true;
    seed.m = 1.0 / 3.0;
    seed.b = -25.0;
    MxbConfigurationModel model(seed, kAsync, ',');
    EXPECT_EQ(model.factorText(), "0,333333");
    EXPECT_EQ(model.offsetText(), "-25,0000");
    EXPECT_EQ(model.calculation().entries(), (MxbCalculationEntries{})) << "nothing remembered yet";

    MxbCalculationModel twoPoints = model.calculation();
    twoPoints.setText(MxbCalculationControl::InputMinimum, "4");
    twoPoints.setText(MxbCalculationControl::InputMaximum, "20");
    twoPoints.setText(MxbCalculationControl::ScaledMaximum, "100");
    ASSERT_EQ(twoPoints.accept(), std::nullopt);
    model.acceptCalculation(twoPoints);
    EXPECT_EQ(model.factorText(), "6,25000");
    EXPECT_EQ(model.offsetText(), "-25,0000");
    EXPECT_EQ(model.calculation().entries(), (MxbCalculationEntries{"4", "20", "", "100"}));
    EXPECT_EQ(MxbConfigurationModel(seed, kAsync, ',').calculation().entries(), (MxbCalculationEntries{}))
        << "a new Mx+B dialog starts afresh";

    // Shown with six digits, kept with all of them.
    twoPoints.setText(MxbCalculationControl::ScaledMaximum, "1");
    twoPoints.setText(MxbCalculationControl::InputMaximum, "7");
    ASSERT_EQ(twoPoints.accept(), std::nullopt);
    model.acceptCalculation(twoPoints);
    ASSERT_EQ(model.accept(), std::nullopt);
    ChannelSetup channel;
    model.applyTo(channel);
    EXPECT_EQ(channel.m, 1.0 / 3.0);
    EXPECT_EQ(channel.b, -4.0 / 3.0);
}

TEST(AlarmsConfiguration, ASenseOfOffClearsItsOutputAndDisablesItsFields) {
    ChannelSetup seed;
    seed.alarm1 = {AlarmSense::Hi, 2.0, AlarmOutput::Do7};
    AlarmsConfigurationModel model(seed, kAsync, '.');
    EXPECT_EQ(AlarmsConfigurationModel::senseItems(), (std::vector<std::string>{"OFF", "LO", "HI"}));
    const std::vector<std::string> outputs = AlarmsConfigurationModel::outputItems();
    ASSERT_EQ(outputs.size(), 9u);
    EXPECT_EQ(outputs.front(), "None");
    EXPECT_EQ(outputs.back(), "DO7");
    EXPECT_EQ(model.senseIndex(1), 2);
    EXPECT_EQ(model.outputIndex(1), 8);
    EXPECT_EQ(model.valueText(1), "2.00000");
    EXPECT_TRUE(model.enabled(AlarmsControl::Value1));
    EXPECT_FALSE(model.enabled(AlarmsControl::Output2));
    EXPECT_TRUE(model.enabled(AlarmsControl::AlarmTrigger));

    model.chooseSense(1, 0);
    EXPECT_EQ(model.outputIndex(1), 0);
    EXPECT_FALSE(model.enabled(AlarmsControl::Value1));
    EXPECT_FALSE(model.enabled(AlarmsControl::Output1));
    EXPECT_FALSE(model.enabled(AlarmsControl::AlarmTrigger)) << "no alarm is on";
    model.chooseSense(2, 1);
    model.chooseOutput(2, 1);
    model.setAlarmTrigger(false);
    ASSERT_EQ(model.accept(), std::nullopt);
    ChannelSetup channel;
    model.applyTo(channel);
    EXPECT_EQ(channel.alarm1, (AlarmSetup{AlarmSense::Off, 2.0, AlarmOutput::None}));
    EXPECT_EQ(channel.alarm2, (AlarmSetup{AlarmSense::Lo, 0.0, AlarmOutput::Do0}));
    EXPECT_FALSE(channel.alarmTrigger);
}

TEST(AlarmsConfiguration, ASlaveNeverChangesItsAlarmTrigger) {
    ChannelSetup seed;
    seed.alarm1.sense = AlarmSense::Lo;
    InstrumentIdentity slave = kAsync;
    slave.role = GroupRole::Slave;
    slave.setupHasMaster = true;
    AlarmsConfigurationModel model(seed, slave, '.');
    EXPECT_FALSE(model.enabled(AlarmsControl::AlarmTrigger));
    EXPECT_EQ(model.caption(), "Alarms Configuration - 12 (Slave)");
    model.setAlarmTrigger(false);
    ASSERT_EQ(model.accept(), std::nullopt);
    ChannelSetup channel;
    model.applyTo(channel);
    EXPECT_TRUE(channel.alarmTrigger);
    EXPECT_EQ(channel.alarm1.sense, AlarmSense::Lo);
}

TEST(AlarmsConfiguration, BothValuesMustLieWithinTheLimit) {
    struct Case {
        const char *value1;
        const char *value2;
        AlarmsControl refusedAt; // AlarmTrigger when accepted
    };
    const Case cases[] = {
        {"9,9999e9", "-9,9999e9", AlarmsControl::AlarmTrigger},
        {"1,5", "abc", AlarmsControl::AlarmTrigger},
        {"1e10", "0", AlarmsControl::Value1},
        {"0", "-1e10", AlarmsControl::Value2},
        {"2e10", "-1e10", AlarmsControl::Value1},
    };
    for (const Case &c : cases) {
        AlarmsConfigurationModel model(ChannelSetup{}, kAsync, ',');
        model.setValueText(1, c.value1);
        model.setValueText(2, c.value2);
        const auto refused = model.accept();
        if (c.refusedAt == AlarmsControl::AlarmTrigger) {
            EXPECT_EQ(refused, std::nullopt) << c.value1;
            continue;
        }
        ASSERT_TRUE(refused) << c.value1;
        EXPECT_EQ(*refused, (Refusal<AlarmsControl>{220, "Invalid Alarm Value!", c.refusedAt}));
    }
}

} // namespace
