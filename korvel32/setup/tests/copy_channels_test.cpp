#include "setup/copy_channels.h"

#include "scripted_user_interface.h"
#include "setup/setup_template.h"
#include "setup/temperature_labels.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

ChannelSetup analog(ChannelFunction function, RangeCode range, const std::string &units = {}) {
    ChannelSetup channel;
    channel.function = function;
    channel.range = range;
    channel.unitsLabel = units;
    return channel;
}

class CopyChannels : public ::testing::Test {
protected:
    CopyChannels() {
        setupTemplate.complete("Label", "VDC");
        table.add(1, 10, ModelCode::M100A); // the source
        table.add(2, 20, ModelCode::M200A);
        table.add(3, 30, ModelCode::M100A);
        table.add(5, 50, ModelCode::M200A);
    }

    InstrumentSetup &setup(int slot) { return *table.slot(slot).setup; }

    CopyResult copy(const std::vector<int> &targets) {
        return copyChannels(
            table, 1, targets, [this](int slot) { return slot == loggingSlot; }, ui);
    }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    ScriptedUserInterface ui;
    int loggingSlot = 0;
};

TEST_F(CopyChannels, ListsEveryOtherInstrumentWithItsModel) {
    const std::vector<CopyTarget> targets = copyTargets(table, 1);
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0].slot, 2);
    EXPECT_EQ(targets[0].text, "20  M200A");
    EXPECT_EQ(targets[2].text, "50  M200A");
}

TEST_F(CopyChannels, RepairsRangesTheTargetModelLacks) {
    struct Case {
        ModelCode from;
        ModelCode to;
        ChannelSetup channel;
        ChannelFunction function;
        RangeCode range;
    };
    const Case cases[] = {
        {ModelCode::M200A, ModelCode::M100A, analog(ChannelFunction::Vdc, RangeCode::Vdc50V), ChannelFunction::Vdc,
         RangeCode::Vdc150_300V},
        {ModelCode::M100A, ModelCode::M200A, analog(ChannelFunction::Vdc, RangeCode::Vdc150_300V), ChannelFunction::Vdc,
         RangeCode::Vdc50V},
        {ModelCode::M100A, ModelCode::M200A, analog(ChannelFunction::Vac, RangeCode::Vac150_300V), ChannelFunction::Vac,
         RangeCode::Vac30V},
        {ModelCode::M100A, ModelCode::M200A, analog(ChannelFunction::Ohms2W, RangeCode::Ohms300),
         ChannelFunction::Ohms2W, RangeCode::Ohms30k},
        {ModelCode::M100A, ModelCode::M200A, analog(ChannelFunction::Ohms2W, RangeCode::Auto), ChannelFunction::Ohms2W,
         RangeCode::Auto},
        {ModelCode::M100A, ModelCode::M200A, analog(ChannelFunction::Ohms4W, RangeCode::Ohms300),
         ChannelFunction::Ohms4W, RangeCode::Ohms300},
        {ModelCode::M100A, ModelCode::M200A, analog(ChannelFunction::Rtd2W, RangeCode::RtdFixed385),
         ChannelFunction::Vdc, RangeCode::Vdc3V},
        {ModelCode::M200A, ModelCode::M200A, analog(ChannelFunction::Vdc, RangeCode::Vdc50V), ChannelFunction::Vdc,
         RangeCode::Vdc50V},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(codeValue(c.channel.range));
        InstrumentSetup source;
        InstrumentSetup target;
        source.channel(4) = c.channel;
        copyChannelDefinitions(source, c.from, target, c.to);
        EXPECT_EQ(target.channel(4).function, c.function);
        EXPECT_EQ(target.channel(4).range, c.range);
    }
}

TEST_F(CopyChannels, TemperatureLabelsFollowTheTargetsUnits) {
    InstrumentSetup source;
    source.channel(1) = analog(ChannelFunction::Thermocouple, RangeCode::TcK, kCelsiusUnitsLabel);
    source.channel(2) = analog(ChannelFunction::Rtd4W, RangeCode::RtdFixed385, kCelsiusUnitsLabel);
    source.channel(3) = analog(ChannelFunction::Thermocouple, RangeCode::TcJ, "Kelvin");
    source.channel(4) = analog(ChannelFunction::Vdc, RangeCode::Vdc3V, kCelsiusUnitsLabel);
    InstrumentSetup target;
    target.temperatureUnits = TemperatureUnits::Fahrenheit;
    copyChannelDefinitions(source, ModelCode::M100A, target, ModelCode::M100A);
    EXPECT_EQ(target.channel(1).unitsLabel, kFahrenheitUnitsLabel);
    EXPECT_EQ(target.channel(2).unitsLabel, kFahrenheitUnitsLabel);
    EXPECT_EQ(target.channel(3).unitsLabel, "Kelvin");
    EXPECT_EQ(target.channel(4).unitsLabel, kCelsiusUnitsLabel);

    target.temperatureUnits = TemperatureUnits::Celsius;
    source = target;
    copyChannelDefinitions(source, ModelCode::M100A, target, ModelCode::M100A);
    EXPECT_EQ(target.channel(1).unitsLabel, kCelsiusUnitsLabel);
}

TEST_F(CopyChannels, CopiesEveryChannelAndEquationButKeepsTheHeader) {
    InstrumentSetup &source = setup(1);
    source.channel(5) = analog(ChannelFunction::Current, RangeCode::Current4to20mA, "Percent");
    source.channel(5).mxbEnabled = true;
    source.channel(5).m = 6.25;
    source.channel(5).alarm1 = {AlarmSense::Hi, 12.0, AlarmOutput::Do7};
    source.channel(22).function = ChannelFunction::Equation;
    source.equation(22) = "C1+C2";
    source.description = "source";
    InstrumentSetup &target = setup(3);
    target.description = "target";
    target.interval1 = 5.0;
    target.monitorChannel = 2;
    target.channel(2) = {};

    EXPECT_EQ(copy({3}).outcome, CopyOutcome::Copied);
    EXPECT_TRUE(ui.messages().empty()); // same model: no question
    EXPECT_EQ(target.channel(5), source.channel(5));
    EXPECT_EQ(target.channel(22), source.channel(22));
    EXPECT_EQ(target.equation(22), "C1+C2");
    EXPECT_EQ(target.channel(2), source.channel(2));
    EXPECT_EQ(target.description, "target");
    EXPECT_EQ(target.interval1, 5.0);
    EXPECT_EQ(target.monitorChannel, 2);

    setup(1).channel(2) = {};
    copy({3});
    EXPECT_EQ(target.monitorChannel, 0);
}

TEST_F(CopyChannels, AsksOnceBeforeCopyingToAnotherModel) {
    setup(1).channel(7) = analog(ChannelFunction::Rtd2W, RangeCode::RtdFixed385, kCelsiusUnitsLabel);
    const InstrumentSetup before = setup(2);

    ui.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(copy({2, 3, 5}).outcome, CopyOutcome::KeepOpen);
    EXPECT_EQ(setup(2), before);

    const CopyResult result = copy({2, 3, 5});
    EXPECT_EQ(result.outcome, CopyOutcome::Copied);
    EXPECT_EQ(result.changedSlots, (std::vector<int>{2, 3, 5}));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].text, "Copying to different model.  Some channel definitions may differ.  Continue?");
    EXPECT_EQ(ui.messages()[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(setup(2).channel(7).function, ChannelFunction::Vdc);
    EXPECT_EQ(setup(2).channel(7).range, RangeCode::Vdc3V);
    EXPECT_EQ(setup(3).channel(7).function, ChannelFunction::Rtd2W);
    EXPECT_EQ(ui.notifications().size(), 3u);
}

TEST_F(CopyChannels, SkipsALoggingTargetAndCopiesToTheOthers) {
    setup(1).channel(9) = analog(ChannelFunction::Freq, RangeCode::Off, "Hz");
    loggingSlot = 3;
    const InstrumentSetup before = setup(3);
    const CopyResult result = copy({2, 3});
    EXPECT_EQ(result.outcome, CopyOutcome::Copied);
    EXPECT_EQ(result.changedSlots, std::vector<int>{2});
    EXPECT_EQ(setup(3), before);
    EXPECT_EQ(setup(2).channel(9).function, ChannelFunction::Freq);
    ASSERT_EQ(ui.messages().size(), 2u); // the model question, then the refusal
    EXPECT_EQ(ui.messages()[1].text, "Instrument 30:  Cannot change Configuration while logging!");
}

TEST_F(CopyChannels, NothingSelectedActsAsCancel) {
    EXPECT_EQ(copy({}).outcome, CopyOutcome::Cancelled);
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
