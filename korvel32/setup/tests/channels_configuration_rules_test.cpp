#include "setup/channels_configuration_rules.h"

#include "kvlink32.h"
#include "link/instrument_link.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

using Items = std::vector<std::string>;

// A new M100A instrument's working copy (channels 1..3 VDC 3 V), its
// Channels Configuration opened.
class ChannelsConfiguration : public ::testing::Test {
protected:
    ChannelsConfiguration() { setupTemplate.complete("Label", "VDC"); }

    ChannelsConfigurationModel open(const InstrumentSetup &setup) {
        return ChannelsConfigurationModel(setup, identity, TemperatureUnits::Celsius, setupTemplate.offChannel, '.');
    }

    // Function... on the selection, the function chosen and both OKs pressed.
    Checked<ChannelsControl> applyFunction(ChannelsConfigurationModel &model, const std::string &function) {
        FunctionSelectionModel selection = model.functionSelection();
        const Items items = selection.functionItems();
        selection.chooseFunction(static_cast<int>(std::find(items.begin(), items.end(), function) - items.begin()));
        EXPECT_EQ(selection.accept(), std::nullopt);
        return model.applyFunction(selection.result());
    }

    SetupTemplate setupTemplate;
    InstrumentIdentity identity{12, ModelCode::M100A, GroupRole::Async, false, true};
    InstrumentLink library;
};

TEST_F(ChannelsConfiguration, TheListsShowEachChannelsIdentifierLabelFunctionAndRange) {
    InstrumentSetup setup = setupTemplate.defaultSetup;
    setup.channel(2).label = "Inlet";
    setup.channel(4).function = ChannelFunction::Freq;
    setup.channel(4).range = RangeCode::Auto;
    setup.channel(22).function = ChannelFunction::ChanAMinusChanB;
    const ChannelsConfigurationModel model = open(setup);
    const Items analog = model.analogLines();
    ASSERT_EQ(analog.size(), 20u);
    EXPECT_EQ(analog[0], "1201 (Label),  VDC  3 V");
    EXPECT_EQ(analog[1], "1202 (Inlet),  VDC  3 V");
    EXPECT_EQ(analog[3], "1204 (Label),  Freq  ");
    EXPECT_EQ(analog[19], "1220 (Label),  OFF  ");
    const Items computed = model.computedLines();
    ASSERT_EQ(computed.size(), 10u);
    EXPECT_EQ(computed[0], "1221 (Label),  OFF");
    EXPECT_EQ(computed[1], "1222 (Label),  Chan A - Chan B");
    EXPECT_EQ(model.caption(), "Channels Configuration - 12");
}

// Channel n + 10 carries the second leads of a 4-wire channel n.
TEST_F(ChannelsConfiguration, FourWireFunctionsTakeTheirPartnerChannel) {
    struct Case {
        const char *what;
        std::vector<int> before4Wire; // channels made RTD-4W first
        std::vector<int> selected;
        const char *function;
        bool refused;                                       // with 1313
        std::vector<std::pair<int, ChannelFunction>> after; // channel, function
    };
    using F = ChannelFunction;
    const Case cases[] = {
        {"3 and 13 with RTD-4W", {}, {3, 13}, "RTD-4W", false, {{3, F::Rtd4W}, {13, F::Off}}},
        {"13 alone with Ohms-4W", {}, {13}, "Ohms-4W", true, {{3, F::Vdc}, {13, F::Off}}},
        {"4 and 13 with Ohms-4W: 4 takes it, 13 refuses", {}, {4, 13}, "Ohms-4W", true, {{4, F::Ohms4W}, {14, F::Off}}},
        {"13 whose partner is 4-wire is left alone", {3}, {13}, "VAC", false, {{3, F::Rtd4W}, {13, F::Off}}},
        {"3 back to VDC frees 13", {3}, {3}, "VDC", false, {{3, F::Vdc}, {13, F::Off}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ChannelsConfigurationModel model = open(setupTemplate.defaultSetup);
        for (const int channel : c.before4Wire) {
            model.selectAnalog({channel});
            ASSERT_EQ(applyFunction(model, "RTD-4W"), std::nullopt);
        }
        model.selectAnalog(c.selected);
        const auto refused = applyFunction(model, c.function);
        EXPECT_EQ(refused.has_value(), c.refused);
        if (refused) {
            EXPECT_EQ(refused->text, "4W Measurements not allowed on Channels 11-20!");
            EXPECT_EQ(refused->focus, ChannelsControl::AnalogChannels);
        }
        for (const auto &[channel, function] : c.after)
            EXPECT_EQ(model.setup().channel(channel).function, function) << channel;
    }

    ChannelsConfigurationModel model = open(setupTemplate.defaultSetup);
    model.selectAnalog({3, 13});
    ASSERT_EQ(applyFunction(model, "RTD-4W"), std::nullopt);
    EXPECT_EQ(model.analogLines()[2], "1203 (Label),  RTD-4W  Fixed-385");
    EXPECT_EQ(model.analogLines()[12], "1213 (Label),  OFF (4W)  ");
    EXPECT_EQ(model.setup().channel(13).range, RangeCode::Off);
    model.selectAnalog({3});
    ASSERT_EQ(applyFunction(model, "VDC"), std::nullopt);
    EXPECT_EQ(model.analogLines()[12], "1213 (Label),  OFF  ");
}

TEST_F(ChannelsConfiguration, AFunctionLeavesTheLabelScalingAndAlarmsOfEachChannel) {
    InstrumentSetup setup = setupTemplate.defaultSetup;
    setup.channel(2).label = "Flow";
    setup.channel(2).mxbEnabled = true;
    setup.channel(2).m = 2.0;
    setup.channel(2).alarm1 = {AlarmSense::Hi, 5.0, AlarmOutput::Do7};
    ChannelsConfigurationModel model = open(setup);
    model.selectAnalog({1, 2});
    FunctionSelectionModel selection = model.functionSelection();
    selection.chooseFunction(9); // Current
    selection.setShuntText("50");
    ASSERT_EQ(selection.accept(), std::nullopt);
    ASSERT_EQ(model.applyFunction(selection.result()), std::nullopt);
    const ChannelSetup &flow = model.setup().channel(2);
    EXPECT_EQ(flow.function, ChannelFunction::Current);
    EXPECT_EQ(flow.range, RangeCode::Current4to20mA);
    EXPECT_EQ(flow.shunt, 50.0);
    EXPECT_EQ(flow.unitsLabel, "Percent");
    EXPECT_EQ(flow.label, "Flow");
    EXPECT_TRUE(flow.mxbEnabled);
    EXPECT_EQ(flow.alarm1, (AlarmSetup{AlarmSense::Hi, 5.0, AlarmOutput::Do7}));
    EXPECT_EQ(model.setup().channel(1).shunt, 50.0);
}

TEST_F(ChannelsConfiguration, TheListsSelectExclusivelyAndTheLabelGoesToEverySelectedChannel) {
    ChannelsConfigurationModel model = open(setupTemplate.defaultSetup);
    EXPECT_EQ(model.selection(), std::vector<int>{1});
    model.selectComputed({23, 21});
    EXPECT_TRUE(model.computedSelected());
    EXPECT_EQ(model.computedFunction().caption(), "Computed Function - 12");
    model.setLabelText("Sum");
    model.applyLabel();
    EXPECT_EQ(model.setup().channel(23).label, "Sum");
    EXPECT_EQ(model.setup().channel(21).label, "Sum");
    model.selectAnalog({5, 21, 6});
    EXPECT_EQ(model.selection(), (std::vector<int>{5, 6})) << "a computed channel is not in the analog list";
    EXPECT_EQ(model.labelText(), "Label");
    model.selectAnalog({});
    EXPECT_FALSE(model.enabled(ChannelsControl::Function));
    EXPECT_FALSE(model.enabled(ChannelsControl::ApplyLabel));
    EXPECT_TRUE(model.enabled(ChannelsControl::ComputedChannels));
}

TEST_F(ChannelsConfiguration, ScalingAndAlarmsGoToEverySelectedChannel) {
    ChannelsConfigurationModel model = open(setupTemplate.defaultSetup);
    model.selectAnalog({2, 3});
    MxbConfigurationModel mxb = model.mxbConfiguration();
    mxb.setFactorText("2.5");
    mxb.setOffsetText("-1");
    ASSERT_EQ(mxb.accept(), std::nullopt);
    model.applyMxb(mxb);
    AlarmsConfigurationModel alarms = model.alarmsConfiguration();
    alarms.chooseSense(2, 1);
    alarms.setValueText(2, "0.5");
    ASSERT_EQ(alarms.accept(), std::nullopt);
    model.applyAlarms(alarms);
    for (const int channel : {2, 3}) {
        const ChannelSetup &entry = model.setup().channel(channel);
        EXPECT_TRUE(entry.mxbEnabled);
        EXPECT_EQ(entry.m, 2.5);
        EXPECT_EQ(entry.b, -1.0);
        EXPECT_EQ(entry.alarm2, (AlarmSetup{AlarmSense::Lo, 0.5, AlarmOutput::None}));
    }
    EXPECT_FALSE(model.setup().channel(1).mxbEnabled);
}

class ComputedChannels : public ChannelsConfiguration {
protected:
    void SetUp() override { ASSERT_EQ(kvxLibInit(0), KVX_OK); }
    void TearDown() override { kvxLibExit(); }
};

TEST_F(ComputedChannels, TheComputedFunctionOffersItsListsAndTheControlsOfTheChosenFunction) {
    ChannelsConfigurationModel model = open(setupTemplate.defaultSetup);
    model.selectComputed({25});
    ComputedFunctionModel function = model.computedFunction();
    EXPECT_EQ(function.functionItems(), (Items{"OFF", "Average", "Chan A - Chan B", "Chan A - Average", "Equation"}));
    const Items channels = function.channelItems();
    ASSERT_EQ(channels.size(), 30u);
    EXPECT_EQ(channels.front(), "1201");
    EXPECT_EQ(channels.back(), "1230");
    struct Case {
        int index;
        const char *units;
        bool a, b, average, equation;
    };
    const Case cases[] = {{1, "Avg", false, false, true, false},
                          {2, "Diff", true, true, false, false},
                          {3, "DiffAvg", true, false, true, false},
                          {4, "Equ", false, false, false, true},
                          {0, "", false, false, false, false}};
    for (const Case &c : cases) {
        function.chooseFunction(c.index);
        EXPECT_EQ(function.unitsLabel(), c.units);
        EXPECT_EQ(function.enabled(ComputedFunctionControl::ChannelA), c.a) << c.units;
        EXPECT_EQ(function.enabled(ComputedFunctionControl::ChannelB), c.b) << c.units;
        EXPECT_EQ(function.enabled(ComputedFunctionControl::GroupAverage), c.average) << c.units;
        EXPECT_EQ(function.enabled(ComputedFunctionControl::Equation), c.equation) << c.units;
    }
}

// Average of 3 and 26 on channel 25 reads a higher channel.
TEST_F(ComputedChannels, ADefinitionIsAppliedOnlyWhereItReadsLowerChannels) {
    ChannelsConfigurationModel model = open(setupTemplate.defaultSetup);
    model.selectComputed({25});
    ComputedFunctionModel function = model.computedFunction();
    function.chooseFunction(1);
    ASSERT_EQ(function.accept(library)->messageId, 1316);
    function.setAveraged(3, true);
    function.setAveraged(26, true);
    ASSERT_EQ(function.accept(library), std::nullopt);
    EXPECT_EQ(model.applyComputed(function.definition())->messageId, 1314);
    EXPECT_EQ(model.setup().channel(25).function, ChannelFunction::Off);
    function.setAveraged(26, false);
    EXPECT_EQ(model.applyComputed(function.definition()), std::nullopt);
    EXPECT_EQ(model.setup().channel(25).averageSet, channelBit(3));
    EXPECT_EQ(model.setup().channel(25).unitsLabel, "Avg");
}

TEST_F(ComputedChannels, OkRefusesAComputedChannelReadingAnUndefinedChannelAndResetsTheOffChannels) {
    ChannelsConfigurationModel model = open(setupTemplate.defaultSetup);
    model.selectComputed({21});
    ComputedFunctionModel function = model.computedFunction();
    function.chooseFunction(4);
    function.setEquation("C1+C3");
    ASSERT_EQ(function.accept(library), std::nullopt);
    ASSERT_EQ(model.applyComputed(function.definition()), std::nullopt);
    model.selectAnalog({3});
    ASSERT_EQ(applyFunction(model, "OFF"), std::nullopt);
    const auto refused = model.accept();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text, "Channel 1203 must be defined for calculation of computed channel 1221!");

    ASSERT_EQ(applyFunction(model, "Thermocouple"), std::nullopt);
    model.selectAnalog({2});
    ASSERT_EQ(applyFunction(model, "OFF"), std::nullopt);
    ASSERT_EQ(model.accept(), std::nullopt);
    EXPECT_EQ(model.setup().channel(2), setupTemplate.offChannel) << "units label and all";
    EXPECT_EQ(model.setup().channel(3).unitsLabel, "\u00B0C");
    EXPECT_EQ(model.setup().equation(21), "C1+C3");
}

} // namespace
