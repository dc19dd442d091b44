#include "setup/instrument_configuration_rules.h"
#include "setup/instrument_description_rules.h"

#include "scripted_user_interface.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

using enum InstrumentControl;

class InstrumentConfiguration : public ::testing::Test {
protected:
    InstrumentConfiguration() {
        setupTemplate.complete("Label", "VDC");
        setup = setupTemplate.defaultSetup;
    }

    InstrumentConfigurationModel open(GroupRole role = GroupRole::Async, bool wired = true) const {
        return InstrumentConfigurationModel(setup, {12, ModelCode::M100A, role, role != GroupRole::Async, wired}, ',');
    }

    SetupTemplate setupTemplate;
    InstrumentSetup setup;
};

TEST_F(InstrumentConfiguration, TheFieldsShowTheSetup) {
    setup.interval1 = 0.25;
    setup.stopAfterDuration = true;
    setup.duration = 3723;
    setup.monitorChannel = 2;
    setup.triggerType = TriggerType::IntervalAlarm;
    const InstrumentConfigurationModel model = open();
    EXPECT_EQ(model.caption(), "Instrument Configuration - 12");
    EXPECT_EQ(model.text(Interval1), "0,250");
    EXPECT_EQ(model.text(Interval2), "0,100");
    EXPECT_EQ(model.text(DurationHours), "1");
    EXPECT_EQ(model.text(DurationMinutes), "2");
    EXPECT_EQ(model.text(DurationSeconds), "3");
    EXPECT_TRUE(model.triggers().interval && model.triggers().alarm && !model.triggers().external);
    const std::vector<std::string> monitor = model.monitorItems();
    ASSERT_EQ(monitor.size(), 31u);
    EXPECT_EQ(monitor[0], "None");
    EXPECT_EQ(monitor[30], "1230");
    EXPECT_EQ(model.monitorChannel(), 2);
    EXPECT_EQ(InstrumentConfigurationModel::readingRateItems(),
              (std::vector<std::string>{"Slow (High Res.)", "Medium", "Fast"}));

    // The fields hold at most 999 hours and 99 minutes.
    setup.duration = 4000000;
    EXPECT_EQ(open().text(DurationHours), "999");
    EXPECT_EQ(open().text(DurationMinutes), "99");
    EXPECT_EQ(open().text(DurationSeconds), "40");
}

TEST_F(InstrumentConfiguration, TheTriggerBoxesMakeTheTriggerType) {
    struct Case {
        TriggerParts parts;
        std::optional<TriggerType> type;
    };
    const Case cases[] = {
        {{true, true, true}, TriggerType::IntervalExternalAlarm},
        {{true, true, false}, TriggerType::IntervalExternal},
        {{true, false, true}, TriggerType::IntervalAlarm},
        {{true, false, false}, TriggerType::Interval},
        {{false, true, true}, TriggerType::ExternalAlarm},
        {{false, true, false}, TriggerType::External},
        {{false, false, true}, TriggerType::Alarm},
        {{false, false, false}, std::nullopt},
    };
    for (const Case &c : cases) {
        InstrumentConfigurationModel model = open();
        model.setTriggers(c.parts);
        EXPECT_EQ(model.enabled(Interval1), c.parts.interval);
        EXPECT_EQ(model.enabled(Interval2), c.parts.external || c.parts.alarm);
        const auto refused = model.accept();
        if (c.type) {
            ASSERT_EQ(refused, std::nullopt);
            EXPECT_EQ(model.setup().triggerType, *c.type);
            EXPECT_EQ(triggerParts(*c.type).interval, c.parts.interval);
        } else {
            ASSERT_TRUE(refused);
            EXPECT_EQ(*refused, (Refusal<InstrumentControl>{78, "Select at least one trigger type!", IntervalTrigger}));
        }
    }
}

// Bounds include both ends; the typed decimal character is the regional one.
TEST_F(InstrumentConfiguration, OkChecksTheIntervalsAndTheDurationInOrder) {
    struct Case {
        const char *interval1;
        const char *interval2;
        bool stop;
        const char *hours;
        const char *minutes;
        const char *seconds;
        int refusal;
        InstrumentControl focus;
    };
    const Case cases[] = {
        {"86400", "0", true, "0", "0", "1", 0, Interval1},    {"86400,5", "0", true, "1", "0", "0", 75, Interval1},
        {"-0,001", "0", false, "0", "0", "0", 75, Interval1}, {"1", "86400,001", true, "1", "0", "0", 76, Interval2},
        {"1", "1", true, "0", "0", "0", 79, DurationHours},   {"1", "1", true, "1", "x", "0", 79, DurationHours},
        {"1", "1", true, "-1", "0", "0", 79, DurationHours},  {"1", "1", true, "1000", "0", "0", 79, DurationHours},
        {"1", "1", true, "", "", "5", 0, Interval1},          {"1", "1", false, "0", "0", "0", 0, Interval1},
        {"x", "1e6", true, "0", "0", "0", 76, Interval2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.interval1) + " " + c.interval2 + " " + c.hours + ":" + c.minutes + ":" + c.seconds);
        InstrumentConfigurationModel model = open();
        model.setText(Interval1, c.interval1);
        model.setText(Interval2, c.interval2);
        model.setStopScanning(c.stop);
        model.setText(DurationHours, c.hours);
        model.setText(DurationMinutes, c.minutes);
        model.setText(DurationSeconds, c.seconds);
        const auto refused = model.accept();
        EXPECT_EQ(refused ? refused->messageId : 0, c.refusal);
        if (refused) {
            EXPECT_EQ(refused->focus, c.focus);
            EXPECT_EQ(model.setup(), setup) << "a refused OK keeps the working copy";
        }
    }

    InstrumentConfigurationModel model = open();
    model.setText(Interval1, "86400");
    model.setText(Interval2, "0,5");
    model.setStopScanning(true);
    model.setText(DurationHours, "999");
    model.setText(DurationMinutes, "99");
    model.setText(DurationSeconds, "99");
    ASSERT_EQ(model.accept(), std::nullopt);
    EXPECT_EQ(model.setup().interval1, 86400.0);
    EXPECT_EQ(model.setup().interval2, 0.5);
    EXPECT_EQ(model.setup().duration, 999u * 3600 + 99 * 60 + 99);
    EXPECT_TRUE(model.setup().stopAfterDuration);
}

TEST_F(InstrumentConfiguration, TheMonitorChannelMustBeDefinedAndASlaveStopsThere) {
    InstrumentConfigurationModel model = open(GroupRole::Slave);
    model.chooseMonitorChannel(4);
    model.setTriggers({});
    model.setText(Interval1, "1e9");
    const auto refused = model.accept();
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, (Refusal<InstrumentControl>{77, "Must Select Function for Monitor Channel!", MonitorChannel}));
    model.chooseMonitorChannel(3);
    ASSERT_EQ(model.accept(), std::nullopt) << "a Slave's scan settings are its Master's";
    EXPECT_EQ(model.setup().monitorChannel, 3);
    EXPECT_EQ(model.setup().triggerType, TriggerType::Interval);
    EXPECT_EQ(model.setup().interval1, 1.0);
}

TEST_F(InstrumentConfiguration, AChangeOfTemperatureUnitsTurnsTheTemperatureLabels) {
    setup.channel(1).function = ChannelFunction::Thermocouple;
    setup.channel(1).unitsLabel = kCelsiusUnitsLabel;
    setup.channel(2).function = ChannelFunction::Rtd4W;
    setup.channel(2).unitsLabel = "K";
    setup.channel(3).unitsLabel = kCelsiusUnitsLabel; // a VDC channel: the user's own label
    setup.channel(21).function = ChannelFunction::Average;
    setup.channel(21).unitsLabel = kCelsiusUnitsLabel;
    InstrumentConfigurationModel model = open();
    model.setTemperatureUnits(TemperatureUnits::Fahrenheit);
    ASSERT_EQ(model.accept(), std::nullopt);
    EXPECT_EQ(model.setup().temperatureUnits, TemperatureUnits::Fahrenheit);
    EXPECT_EQ(model.setup().channel(1).unitsLabel, kFahrenheitUnitsLabel);
    EXPECT_EQ(model.setup().channel(2).unitsLabel, "K");
    EXPECT_EQ(model.setup().channel(3).unitsLabel, kCelsiusUnitsLabel);
    EXPECT_EQ(model.setup().channel(21).unitsLabel, kCelsiusUnitsLabel);

    // The Channels dialog opened meanwhile gives new temperature channels the units shown.
    ChannelsConfigurationModel channels = model.channels(setupTemplate.offChannel);
    channels.selectAnalog({5});
    FunctionSelectionModel function = channels.functionSelection();
    function.chooseFunction(5);
    EXPECT_EQ(function.unitsLabel(), kFahrenheitUnitsLabel);
}

TEST_F(InstrumentConfiguration, TheScanSettingsEnableAsTheRoleAndRateAllow) {
    InstrumentConfigurationModel model = open();
    EXPECT_FALSE(model.enabled(DriftCorrection));
    EXPECT_TRUE(model.driftCorrection());
    model.chooseReadingRate(2);
    EXPECT_TRUE(model.enabled(DriftCorrection));
    model.setDriftCorrection(false);
    model.chooseReadingRate(1);
    EXPECT_TRUE(model.driftCorrection()) << "forced on below Fast";
    EXPECT_FALSE(model.enabled(DurationHours));
    model.setStopScanning(true);
    EXPECT_TRUE(model.enabled(DurationSeconds));

    // A wired group's Master shows trigger out ticked and keeps its own flag.
    InstrumentConfigurationModel master = open(GroupRole::Master, true);
    EXPECT_TRUE(master.triggerOut());
    EXPECT_FALSE(master.enabled(TriggerOut));
    master.setTriggerOut(false);
    ASSERT_EQ(master.accept(), std::nullopt);
    EXPECT_FALSE(master.setup().triggerOut);
    EXPECT_EQ(master.caption(), "Instrument Configuration - 12 (Master)");
    InstrumentConfigurationModel unwired = open(GroupRole::Master, false);
    EXPECT_TRUE(unwired.enabled(TriggerOut));
    unwired.setTriggerOut(true);
    ASSERT_EQ(unwired.accept(), std::nullopt);
    EXPECT_TRUE(unwired.setup().triggerOut);

    const InstrumentConfigurationModel slave = open(GroupRole::Slave);
    for (const InstrumentControl control : {IntervalTrigger, ExternalTrigger, AlarmTrigger, Interval1, Interval2,
                                            ReadingRate, DriftCorrection, TriggerOut, StopScanning, DurationHours}) {
        EXPECT_FALSE(slave.enabled(control)) << static_cast<int>(control);
    }
    for (const InstrumentControl control : {TemperatureUnits, TotalizerDebounce, MonitorChannel, Channels, DataFile}) {
        EXPECT_TRUE(slave.enabled(control)) << static_cast<int>(control);
    }
}

TEST_F(InstrumentConfiguration, CancelAfterALowerDialogWasAcceptedAsksFirst) {
    ScriptedUserInterface ui;
    InstrumentConfigurationModel model = open();
    EXPECT_TRUE(model.mayCancel(ui));
    ChannelsConfigurationModel channels = model.channels(setupTemplate.offChannel);
    EXPECT_TRUE(model.mayCancel(ui)) << "a lower dialog still open has changed nothing";
    channels.setLabelText("Inlet");
    channels.applyLabel();
    ASSERT_EQ(channels.accept(), std::nullopt);
    model.acceptChannels(channels);
    EXPECT_EQ(model.setup().channel(1).label, "Inlet");
    ui.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(model.mayCancel(ui));
    ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(model.mayCancel(ui));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].text,
              "Changes made in lower level dialog boxes will be lost.  Are you sure you want to cancel?");
    EXPECT_EQ(ui.messages()[0].buttons, MessageButtons::YesNo);
}

TEST_F(InstrumentConfiguration, TheDescriptionIsOneLine) {
    InstrumentDescriptionModel model(setup, {7, ModelCode::M200A, GroupRole::Async, false, true});
    EXPECT_EQ(model.caption(), "Instrument Description - 07");
    model.setText("Boiler house, north wall");
    model.applyTo(setup);
    EXPECT_EQ(setup.description, "Boiler house, north wall");
}

} // namespace
