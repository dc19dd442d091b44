// Readings of a scan: signals inside their ranges, units and Mx+B, special
// values, computed channels and equations against hand-computed values,
// alarm words and the digital outputs they drive.
#include <bit>
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "alarms.h"
#include "channel_readings.h"
#include "equation.h"
#include "instrument_test_support.h"

using namespace simtest;
using namespace korvelsim;

namespace {

// Writes byte code tokens into an equation area, host order as stored.
class EquationWriter {
public:
    explicit EquationWriter(InstrumentConfig &config) : area_(config.equations) {}
    EquationWriter &channel(std::uint16_t number) {
        area_[at_++] = 1;
        std::memcpy(area_ + at_, &number, 2);
        at_ += 2;
        return *this;
    }
    EquationWriter &constant(float value) {
        area_[at_++] = 2;
        std::memcpy(area_ + at_, &value, 4);
        at_ += 4;
        return *this;
    }
    EquationWriter &op(std::uint8_t code) {
        area_[at_++] = code;
        return *this;
    }
    std::int32_t end() { // the offset of the next equation
        area_[at_++] = 0;
        return static_cast<std::int32_t>(at_);
    }

private:
    std::uint8_t *area_;
    std::size_t at_ = 0;
};

InstrumentConfig withInputs(std::initializer_list<double> values, ChannelOverrides &overrides) {
    InstrumentConfig config{};
    int number = 1;
    for (const double value : values) {
        config.channels[number - 1] = vdc();
        overrides[number++].value = value;
    }
    return config;
}

TEST(ChannelReadings, SignalsStayInsideTheirRangesAndRepeatForASeed) {
    struct Case {
        std::int32_t function;
        std::int32_t range;
        double low;
        double high;
    };
    const Case cases[] = {
        {KVX_FN_VDC, 8193, -0.09, 0.09}, {KVX_FN_VDC, 10048, -300, 300}, {KVX_FN_VAC, 12289, 0, 0.3},
        {KVX_FN_OHMS, 5136, 0, 3e6},     {KVX_FN_FREQ, 0, 0, 1000},      {KVX_FN_THERMOCOUPLE, 24833, 0, 100},
        {KVX_FN_RTD, 20512, 15, 35},
    };
    for (const Case &c : cases) {
        ChannelConfig channel{};
        channel.function = c.function;
        channel.range = c.range;
        double lowest = INFINITY;
        double highest = -INFINITY;
        for (double t = 0; t < 120; t += 0.25) {
            const double value = measuredQuantity(channel, 4, 7, t);
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
            EXPECT_EQ(value, measuredQuantity(channel, 4, 7, t));
        }
        EXPECT_GE(lowest, c.low) << c.range;
        EXPECT_LE(highest, c.high) << c.range;
        EXPECT_GT(highest - lowest, 0.3 * (c.high - c.low)) << "a signal that moves: " << c.range;
    }
    ChannelConfig channel = vdc();
    EXPECT_NE(measuredQuantity(channel, 1, 7, 3.0), measuredQuantity(channel, 1, 8, 3.0)) << "the seed matters";
}

TEST(ChannelReadings, UnitsScalingAndSpecialValues) {
    ChannelOverrides overrides;
    InstrumentConfig config = withInputs({2.0}, overrides);
    config.channels[0].m = 3.0f;
    config.channels[0].b = 1.0f;
    config.channels[1].function = KVX_FN_THERMOCOUPLE;
    config.channels[1].m = 1.0f;
    overrides[2].value = 100.0;
    config.channels[2].function = KVX_FN_CURRENT;
    config.channels[2].aux = 28674; // 4-20 mA, 250 ohm shunt, converted M' and B'
    config.channels[2].r0 = 250.0f;
    config.channels[2].m = 25.0f;
    config.channels[2].b = -25.0f;
    overrides[3].value = 0.012; // 12 mA reads half way: 50
    for (int number = 4; number <= 6; ++number) {
        config.channels[number - 1] = vdc();
    }
    overrides[4].special = Special::OpenThermocouple;
    overrides[5].special = Special::PositiveOverload;
    overrides[6].special = Special::NegativeOverload;

    ChannelReadings readings = readChannels(config, overrides, 1, 0.0);
    EXPECT_FLOAT_EQ(readings[0], 7.0f) << "Mx+B";
    EXPECT_FLOAT_EQ(readings[1], 100.0f);
    EXPECT_FLOAT_EQ(readings[2], 50.0f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(readings[3]), 0x7FC00000U);
    EXPECT_EQ(readings[4], INFINITY);
    EXPECT_EQ(readings[5], -INFINITY);
    config.options |= kFahrenheitOption;
    readings = readChannels(config, overrides, 1, 0.0);
    EXPECT_FLOAT_EQ(readings[1], 212.0f);
    EXPECT_FLOAT_EQ(readings[0], 7.0f) << "volts keep their unit";

    EXPECT_EQ(recordSizeOf(config), 28 + 6 * 4);
    EXPECT_EQ(recordedReadings(config, readings).size(), 6U);
}

TEST(ChannelReadings, ComputedChannelsFromTheirSources) {
    ChannelOverrides overrides;
    InstrumentConfig config = withInputs({2.0, 4.0, 9.0}, overrides);
    config.channels[20] = computedChannel(KVX_FN_AVERAGE, 0, 0b111);
    config.channels[21] = computedChannel(KVX_FN_CHAN_A_MINUS_CHAN_B, 3, 1);
    config.channels[22] = computedChannel(KVX_FN_CHAN_A_MINUS_AVERAGE, 1, 0b110);
    config.channels[23] = computedChannel(KVX_FN_AVERAGE, 0, (1 << 20) | (1 << 21)); // reads 21 and 22
    config.channels[23].m = 2.0f;
    config.channels[23].b = 0.5f;
    const ChannelReadings readings = readChannels(config, overrides, 1, 0.0);
    EXPECT_FLOAT_EQ(readings[20], 5.0f);
    EXPECT_FLOAT_EQ(readings[21], 7.0f);
    EXPECT_FLOAT_EQ(readings[22], 2.0f - 6.5f);
    EXPECT_FLOAT_EQ(readings[23], 2.0f * 6.0f + 0.5f);
}

TEST(ChannelReadings, EquationsEvaluateTheirByteCode) {
    ChannelOverrides overrides;
    InstrumentConfig config = withInputs({2.0, 4.0, 100.0}, overrides);
    EquationWriter code(config);
    const auto equation = [&](int channel, std::int32_t offset) {
        config.channels[channel - 1] = computedChannel(KVX_FN_EQUATION, 0, offset);
    };
    equation(21, 0); // (C1 + C2) / 2
    std::int32_t next = code.channel(1).channel(2).op(6).constant(2.0f).op(8).end();
    equation(22, next); // -C1 ** 2: the sign binds first
    next = code.channel(1).op(4).constant(2.0f).op(9).end();
    equation(23, next); // LOG(C3) * 1.5 + SQR(C2) + INT(-2.5) + ABS(C1 - C2)
    next = code.channel(3)
               .op(12)
               .constant(1.5f)
               .op(7)
               .channel(2)
               .op(15)
               .op(6)
               .constant(-2.5f)
               .op(14)
               .op(6)
               .channel(1)
               .channel(2)
               .op(5)
               .op(13)
               .op(6)
               .end();
    equation(24, next); // EXP(LN(C2)) - C21: reads another computed channel
    next = code.channel(2).op(11).op(10).channel(21).op(5).end();
    equation(25, next); // a code the instrument does not know
    code.channel(1).op(99).end();

    const ChannelReadings readings = readChannels(config, overrides, 1, 0.0);
    EXPECT_FLOAT_EQ(readings[20], 3.0f);
    EXPECT_FLOAT_EQ(readings[21], 4.0f);
    EXPECT_FLOAT_EQ(readings[22], 2.0f * 1.5f + 2.0f - 2.0f + 2.0f);
    EXPECT_NEAR(readings[23], 1.0f, 1e-5);
    EXPECT_TRUE(std::isnan(readings[24]));
}

TEST(ChannelReadings, ShortStacksGiveNoNumber) {
    InstrumentConfig config{};
    EquationWriter(config).channel(1).op(6).end(); // add with one operand
    ChannelReadings readings{};
    EXPECT_TRUE(std::isnan(evaluateEquation(config.equations, 0, readings)));
    EquationWriter(config).channel(1).channel(2).end(); // two values left
    EXPECT_TRUE(std::isnan(evaluateEquation(config.equations, 0, readings)));
}

TEST(Alarms, WordsOutputsAndTheTriggerChannel) {
    ChannelOverrides overrides;
    InstrumentConfig config = withInputs({5.0, 5.0, 5.0}, overrides);
    config.channels[0].alarms = 2 | 16; // alarm 1 LO, alarm 2 HI
    config.channels[0].limit1 = 6.0f;   // 5 < 6: alarm 1
    config.channels[0].limit2 = 4.0f;   // 5 > 4: alarm 2
    config.channels[0].output1 = 1;
    config.channels[0].output2 = 4;
    config.channels[1].alarms = 1 | 4; // trigger channel, alarm 1 HI, not reached
    config.channels[1].limit1 = 10.0f;
    config.channels[1].output1 = 8;
    config.channels[2].alarms = 4;
    config.channels[2].limit1 = 1.0f;
    overrides[3].special = Special::OpenThermocouple; // no number, no alarm

    AlarmState state = evaluateAlarms(config, readChannels(config, overrides, 1, 0.0));
    EXPECT_EQ(state.alarm1, 0b001U);
    EXPECT_EQ(state.alarm2, 0b001U);
    EXPECT_EQ(state.outputsOn, 1 | 4);
    EXPECT_FALSE(state.triggerChannelInAlarm);
    EXPECT_EQ(linesWithAlarms(0xF8 | 2, state), 0xF0 | 4 | 2 | 1) << "owned lines follow, others stay";

    overrides[2].value = 11.0;
    state = evaluateAlarms(config, readChannels(config, overrides, 1, 0.0));
    EXPECT_EQ(state.alarm1, 0b011U);
    EXPECT_TRUE(state.triggerChannelInAlarm);
    EXPECT_EQ(state.outputsOn, 1 | 4 | 8);
}

} // namespace
