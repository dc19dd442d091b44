#include "logging/configuration_download.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace korvel {
namespace {

// Compiles the equations of the setups that have any.
InstrumentLink library;

// An instrument slot with every channel off, ready to be given channels.
InstrumentSlot makeSlot(GroupRole role = GroupRole::Async, ModelCode model = ModelCode::M100A) {
    InstrumentSlot slot;
    slot.inUse = true;
    slot.bcn = 7;
    slot.model = model;
    slot.role = role;
    slot.setup = std::make_unique<InstrumentSetup>();
    return slot;
}

InstrumentConfig configOf(const InstrumentSlot &slot, const InstrumentSetup *master = nullptr,
                          const DownloadSettings &settings = {}) {
    const std::optional<InstrumentConfig> config = instrumentConfigOf(library, slot, master, settings);
    EXPECT_TRUE(config.has_value());
    return config.value_or(InstrumentConfig{});
}

ChannelConfig channelOf(const ChannelSetup &channel) {
    InstrumentSlot slot = makeSlot();
    slot.setup->channel(1) = channel;
    return configOf(slot).channels[0];
}

ChannelSetup measuring(ChannelFunction function, RangeCode range = RangeCode::Auto) {
    ChannelSetup channel;
    channel.function = function;
    channel.range = range;
    return channel;
}

using Interval = std::array<std::int32_t, 4>;

TEST(SplitInterval, RoundsToTheMillisecondAndCarriesIntoLargerUnits) {
    EXPECT_EQ(splitInterval(1.5), (Interval{0, 0, 1, 500}));
    EXPECT_EQ(splitInterval(3600.0), (Interval{1, 0, 0, 0}));
    EXPECT_EQ(splitInterval(0.1), (Interval{0, 0, 0, 100}));
    EXPECT_EQ(splitInterval(0.05), (Interval{0, 0, 0, 50}));
    EXPECT_EQ(splitInterval(1.001), (Interval{0, 0, 1, 1}));
    EXPECT_EQ(splitInterval(59.9999), (Interval{0, 1, 0, 0}));
    EXPECT_EQ(splitInterval(3725.25), (Interval{1, 2, 5, 250}));
    EXPECT_EQ(splitInterval(86400.0), (Interval{24, 0, 0, 0}));
}

struct RangeCase {
    ChannelFunction function;
    RangeCode range;
    std::int32_t functionCode;
    std::int32_t rangeCode;
};

TEST(ChannelMapping, FunctionAndRangeCodes) {
    using F = ChannelFunction;
    using R = RangeCode;
    const RangeCase cases[] = {
        {F::Vdc, R::Auto, 2, 9504},
        {F::Vdc, R::Vdc90mV, 2, 8193},
        {F::Vdc, R::Vdc300mV, 2, 8450},
        {F::Vdc, R::Vdc3V, 2, 8968},
        {F::Vdc, R::Vdc30V, 2, 9232},
        {F::Vdc, R::Vdc50V, 2, 9792},
        {F::Vdc, R::Vdc150_300V, 2, 10048},
        {F::Vac, R::Auto, 4, 13064},
        {F::Vac, R::Vac300mV, 4, 12289},
        {F::Vac, R::Vac3V, 4, 12546},
        {F::Vac, R::Vac30V, 4, 12804},
        {F::Vac, R::Vac150_300V, 4, 13584},
        {F::Ohms2W, R::Auto, 1, 5408},
        {F::Ohms2W, R::Ohms300, 1, 4097},
        {F::Ohms4W, R::Ohms3k, 1, 4354},
        {F::Ohms4W, R::Ohms30k, 1, 4612},
        {F::Ohms2W, R::Ohms300k, 1, 4872},
        {F::Ohms2W, R::Ohms3M, 1, 5136},
        {F::Thermocouple, R::TcJ, 32, 24577},
        {F::Thermocouple, R::TcK, 32, 24833},
        {F::Thermocouple, R::TcE, 32, 25089},
        {F::Thermocouple, R::TcT, 32, 25345},
        {F::Thermocouple, R::TcN, 32, 26625},
        {F::Thermocouple, R::TcR, 32, 25601},
        {F::Thermocouple, R::TcS, 32, 25857},
        {F::Thermocouple, R::TcB, 32, 26113},
        {F::Thermocouple, R::TcC, 32, 26369},
        {F::Rtd2W, R::RtdFixed385, 16, 20512},
        {F::Rtd4W, R::RtdCustom385, 16, 20513},
        {F::Current, R::Current0to100mA, 65538, 28673},
        {F::Current, R::Current4to20mA, 65538, 28674},
        {F::Freq, R::Auto, 8, 0},
        {F::Off, R::Off, 0, 0},
    };
    for (const RangeCase &c : cases) {
        const ChannelConfig config = channelOf(measuring(c.function, c.range));
        EXPECT_EQ(config.function, c.functionCode) << codeValue(c.function) << "/" << codeValue(c.range);
        EXPECT_EQ(config.range, c.rangeCode) << codeValue(c.function) << "/" << codeValue(c.range);
    }
}

TEST(ChannelMapping, WiringThermocoupleDetectAndResistances) {
    EXPECT_EQ(channelOf(measuring(ChannelFunction::Ohms2W)).aux, 0x9000);
    EXPECT_EQ(channelOf(measuring(ChannelFunction::Ohms4W)).aux, 0x9001);
    EXPECT_EQ(channelOf(measuring(ChannelFunction::Rtd2W, RangeCode::RtdFixed385)).aux, 0x9000);

    ChannelSetup thermocouple = measuring(ChannelFunction::Thermocouple, RangeCode::TcK);
    EXPECT_EQ(channelOf(thermocouple).aux, 1);
    thermocouple.openTcDetect = false;
    EXPECT_EQ(channelOf(thermocouple).aux, 0);

    ChannelSetup rtd = measuring(ChannelFunction::Rtd4W, RangeCode::RtdCustom385);
    rtd.r0 = 100.0;
    rtd.alpha = 0.00385;
    ChannelConfig config = channelOf(rtd);
    EXPECT_EQ(config.aux, 0x9001);
    EXPECT_FLOAT_EQ(config.r0, 100.0f);
    EXPECT_FLOAT_EQ(config.alphaFloat, 0.00385f);
    rtd.range = RangeCode::RtdFixed385;
    EXPECT_EQ(channelOf(rtd).alpha, 0) << "only a Custom-385 RTD sends its alpha";

    ChannelSetup current = measuring(ChannelFunction::Current, RangeCode::Current4to20mA);
    current.shunt = 250.0;
    EXPECT_FLOAT_EQ(channelOf(current).r0, 250.0f);
}

TEST(ChannelMapping, ComputedChannelsNameTheirSources) {
    InstrumentSlot slot = makeSlot();
    ChannelSetup &average = slot.setup->channel(21);
    average.function = ChannelFunction::Average;
    average.averageSet = channelBit(1) | channelBit(3);
    ChannelSetup &difference = slot.setup->channel(22);
    difference.function = ChannelFunction::ChanAMinusChanB;
    difference.channelA = 2;
    difference.channelB = 5;
    ChannelSetup &fromAverage = slot.setup->channel(23);
    fromAverage.function = ChannelFunction::ChanAMinusAverage;
    fromAverage.channelA = 4;
    fromAverage.averageSet = channelBit(1) | channelBit(2);

    const InstrumentConfig config = configOf(slot);
    EXPECT_EQ(config.channels[20].function, 32769);
    EXPECT_EQ(config.channels[20].aux, 0b101) << "the instrument counts channels from bit 0";
    EXPECT_EQ(config.channels[21].function, 32770);
    EXPECT_EQ(config.channels[21].alpha, 2);
    EXPECT_EQ(config.channels[21].aux, 5);
    EXPECT_EQ(config.channels[22].function, 32771);
    EXPECT_EQ(config.channels[22].alpha, 4);
    EXPECT_EQ(config.channels[22].aux, 0b11);
}

TEST(ChannelMapping, AlarmsOutputsAndScaling) {
    ChannelSetup channel = measuring(ChannelFunction::Vdc);
    EXPECT_EQ(channelOf(channel).alarms, 0) << "no alarm sense, nothing enabled";

    channel.alarm1 = {AlarmSense::Lo, -1.5, AlarmOutput::Do0};
    channel.alarm2 = {AlarmSense::Hi, 2.5, AlarmOutput::Do7};
    ChannelConfig config = channelOf(channel);
    EXPECT_EQ(config.alarms, 1 | 2 | 16);
    EXPECT_FLOAT_EQ(config.limit1, -1.5f);
    EXPECT_FLOAT_EQ(config.limit2, 2.5f);
    EXPECT_EQ(config.output1, 1);
    EXPECT_EQ(config.output2, 128);

    channel.alarm1 = {AlarmSense::Hi, 0.0, AlarmOutput::None};
    channel.alarm2 = {AlarmSense::Lo, 0.0, static_cast<AlarmOutput>(codeValue(AlarmOutput::Do0) + 3)};
    channel.alarmTrigger = false;
    config = channelOf(channel);
    EXPECT_EQ(config.alarms, 4 | 8) << "not an alarm trigger: bit 0 stays clear";
    EXPECT_EQ(config.output1, 0);
    EXPECT_EQ(config.output2, 8);

    EXPECT_FLOAT_EQ(config.m, 1.0f);
    EXPECT_FLOAT_EQ(config.b, 0.0f);
    channel.m = 2.5;
    channel.b = -4.0;
    EXPECT_FLOAT_EQ(channelOf(channel).m, 1.0f) << "M and B count only with Mx+B on";
    channel.mxbEnabled = true;
    config = channelOf(channel);
    EXPECT_FLOAT_EQ(config.m, 2.5f);
    EXPECT_FLOAT_EQ(config.b, -4.0f);
}

constexpr std::uint32_t bit(int n) { return std::uint32_t{1} << n; }
constexpr std::uint32_t kTriggerBits = bit(3) | bit(6) | bit(7) | bit(8);

TEST(ConfigurationOptions, ScanSettingsOfTheSetup) {
    InstrumentSlot slot = makeSlot();
    InstrumentSetup &setup = *slot.setup;
    // Defaults: Slow, Celsius, debounce and drift correction on, Interval trigger.
    EXPECT_EQ(configOf(slot).options, bit(4) | bit(5) | bit(6) | bit(11));

    setup.readingRate = ReadingRate::Medium;
    setup.temperatureUnits = TemperatureUnits::Fahrenheit;
    setup.totalizerDebounce = false;
    setup.driftCorrection = false;
    setup.triggerOut = true;
    EXPECT_EQ(configOf(slot).options, 1 | bit(2) | bit(3) | bit(6) | bit(11));
    setup.readingRate = ReadingRate::Fast;
    EXPECT_EQ(configOf(slot).options & 3, 2u);

    DownloadSettings settings;
    settings.memoryWrapAround = false;
    settings.autoScanDisable = true;
    EXPECT_EQ(configOf(slot, nullptr, settings).options & (bit(9) | bit(10) | bit(11)), bit(10));
}

TEST(ConfigurationOptions, TriggerTypes) {
    const std::pair<TriggerType, std::uint32_t> cases[] = {
        {TriggerType::Interval, bit(6)},
        {TriggerType::External, bit(8)},
        {TriggerType::Alarm, bit(7)},
        {TriggerType::IntervalExternal, bit(6) | bit(8)},
        {TriggerType::IntervalAlarm, bit(6) | bit(7)},
        {TriggerType::ExternalAlarm, bit(7) | bit(8)},
        {TriggerType::IntervalExternalAlarm, bit(6) | bit(7) | bit(8)},
    };
    InstrumentSlot slot = makeSlot();
    for (const auto &[trigger, bits] : cases) {
        slot.setup->triggerType = trigger;
        EXPECT_EQ(configOf(slot).options & kTriggerBits, bits) << codeValue(trigger);
    }
}

TEST(ConfigurationOptions, AWiredMasterDrivesItsTriggerOut) {
    InstrumentSlot master = makeSlot(GroupRole::Master);
    EXPECT_EQ(configOf(master).options & kTriggerBits, bit(3) | bit(6));
    DownloadSettings unwired;
    unwired.wiredGroup = false;
    EXPECT_EQ(configOf(master, nullptr, unwired).options & kTriggerBits, bit(6));
}

struct SlaveGroup {
    InstrumentSetup master;
    InstrumentSlot slave = makeSlot(GroupRole::Slave);

    SlaveGroup() {
        master.readingRate = ReadingRate::Fast;
        master.driftCorrection = false;
        master.triggerType = TriggerType::IntervalAlarm;
        master.interval1 = 2.0;
        master.interval2 = 0.5;
        slave.setup->temperatureUnits = TemperatureUnits::Fahrenheit;
        slave.setup->triggerType = TriggerType::Alarm;
        slave.setup->interval1 = 30.0;
    }
};

TEST(ConfigurationOptions, ASlaveScansAsItsMasterSays) {
    SlaveGroup group;
    DownloadSettings unwired;
    unwired.wiredGroup = false;
    InstrumentConfig config = configOf(group.slave, &group.master, unwired);
    EXPECT_EQ(config.options & 3, 2u) << "the Master's reading rate";
    EXPECT_EQ(config.options & bit(4), 0u) << "the Master's drift correction";
    EXPECT_EQ(config.options & (bit(2) | bit(5)), bit(2) | bit(5)) << "its own units and debounce";
    EXPECT_EQ(config.options & kTriggerBits, bit(6)) << "never an alarm trigger of its own";
    EXPECT_EQ(config.interval1[2], 2);
    EXPECT_EQ((Interval{config.interval2[0], config.interval2[1], config.interval2[2], config.interval2[3]}),
              (Interval{0, 1, 40, 0}));

    group.master.triggerOut = true;
    EXPECT_EQ(configOf(group.slave, &group.master, unwired).options & kTriggerBits, bit(3) | bit(6));

    config = configOf(group.slave, &group.master);
    EXPECT_EQ(config.options & kTriggerBits, bit(3) | bit(8)) << "a wired Slave scans on the Master's trigger";
}

TEST(ConfigurationOptions, ASlaveOfATriggeredMasterFollowsItsTriggerInterval) {
    SlaveGroup group;
    for (TriggerType trigger : {TriggerType::External, TriggerType::Alarm, TriggerType::ExternalAlarm}) {
        group.master.triggerType = trigger;
        EXPECT_EQ(configOf(group.slave, &group.master).interval1[3], 500) << codeValue(trigger);
    }
}

TEST(ConfigurationIntervals, OwnIntervalsAndTheModelsAlarmCheck) {
    DownloadSettings settings;
    settings.alarmCheckIntervalM100A = 1.5;
    settings.alarmCheckIntervalM200A = 0.05;
    InstrumentSlot slot = makeSlot(GroupRole::Async, ModelCode::M100A);
    slot.setup->interval1 = 3600.0;
    slot.setup->interval2 = 0.25;
    InstrumentConfig config = configOf(slot, nullptr, settings);
    EXPECT_EQ(config.interval1[0], 1);
    EXPECT_EQ(config.interval2[3], 250);
    EXPECT_EQ(config.alarmCheckInterval[2], 1);
    EXPECT_EQ(config.alarmCheckInterval[3], 500);

    slot.model = ModelCode::M200A;
    config = configOf(slot, nullptr, settings);
    EXPECT_EQ(config.alarmCheckInterval[2], 0);
    EXPECT_EQ(config.alarmCheckInterval[3], 50);
}

// The equation compiler lives in the library, which must be started.
class EquationDownload : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KVLINK32_CCF_DIR", dir.path().c_str(), 1);
        ASSERT_EQ(kvxLibInit(0), KVX_OK);
    }
    void TearDown() override { kvxLibExit(); }

    void setEquation(int channel, const std::string &text) {
        slot.setup->channel(channel).function = ChannelFunction::Equation;
        slot.setup->equation(channel) = text;
    }

    kvtest::TempDir dir;
    InstrumentSlot slot = makeSlot();
};

TEST_F(EquationDownload, EquationsFollowOneAnotherInChannelOrder) {
    setEquation(24, "C1");
    setEquation(22, "C2+3");
    const InstrumentConfig config = configOf(slot);

    std::uint8_t expected[KVX_EQUATION_AREA];
    std::int32_t mask = 0, first = 0, second = 0, position = 0, error = 0;
    ASSERT_EQ(kvxParseExpr("C2+3", expected, &mask, &first, &position, &error), 1);
    EXPECT_EQ(config.channels[21].function, 32772);
    EXPECT_EQ(config.channels[21].aux, 0);
    EXPECT_EQ(std::memcmp(config.equations, expected, static_cast<std::size_t>(first)), 0);

    ASSERT_EQ(kvxParseExpr("C1", expected, &mask, &second, &position, &error), 1);
    EXPECT_EQ(config.channels[23].aux, first);
    EXPECT_EQ(std::memcmp(config.equations + first, expected, static_cast<std::size_t>(second)), 0);
}

TEST_F(EquationDownload, AnEquationThatDoesNotCompileStopsTheDownload) {
    setEquation(21, "C1+");
    EXPECT_FALSE(instrumentConfigOf(library, slot, nullptr, {}).has_value());
}

} // namespace
} // namespace korvel
