// Validation of the configuration block: each rule with its detail code and
// bit fields, the model-dependent rules, and the first-problem-wins order.
#include "config_validation.h"
#include "equation_compiler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

namespace {

using namespace kvlink;

constexpr uint32_t kIntervalTrigger = 1u << 6;
constexpr uint32_t kAlarmTrigger = 1u << 7;
constexpr uint32_t kExternalTrigger = 1u << 8;
constexpr int32_t kTwoWire = 0x9000;
constexpr int32_t kFourWire = 0x9001;
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// All channels off, the interval trigger every 0:0:1.000.
InstrumentConfig baseConfig() {
    InstrumentConfig config{};
    config.options = kIntervalTrigger;
    config.interval1[2] = 1;
    return config;
}

using Interval = int32_t (InstrumentConfig::*)[4];
constexpr Interval kInterval1 = &InstrumentConfig::interval1;
constexpr Interval kInterval2 = &InstrumentConfig::interval2;
constexpr Interval kAlarmChecking = &InstrumentConfig::alarmCheckInterval;

void setTime(InstrumentConfig &config, Interval interval, int32_t h, int32_t m, int32_t s, int32_t ms) {
    const int32_t fields[4] = {h, m, s, ms};
    for (size_t i = 0; i < 4; ++i) (config.*interval)[i] = fields[i];
}

ChannelConfig &define(InstrumentConfig &config, int number, int32_t function, int32_t range, int32_t aux = 0) {
    ChannelConfig &channel = config.channels[number - 1];
    channel.function = function;
    channel.range = range;
    channel.aux = aux;
    channel.m = 1.0f;
    return channel;
}

ChannelConfig &vdc(InstrumentConfig &config, int number) { return define(config, number, FunctionVdc, 9232); }

int32_t timeDetail(uint32_t fieldOrInterval) {
    return detailCode(DetailTime) | static_cast<int32_t>(fieldOrInterval << 16);
}

struct Case {
    std::string name;
    int32_t model;
    std::function<void(InstrumentConfig &)> change;
    int32_t expected;
};

void expectDetails(const std::vector<Case> &cases) {
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        InstrumentConfig config = baseConfig();
        c.change(config);
        const int32_t detail = validateConfig(config, c.model);
        EXPECT_EQ(detail, c.expected) << "kind " << (detail & 0xFF) << " channel " << (detail >> 24);
    }
}

constexpr int32_t M200A = KVX_MODEL_M200A;
constexpr int32_t M100A = KVX_MODEL_M100A;

TEST(ConfigValidationTest, OptionsAndIntervals) {
    expectDetails({
        {"all off, interval 0:0:1.000", M100A, [](InstrumentConfig &) {}, 0},
        {"bit 12", M100A, [](InstrumentConfig &c) { c.options |= 1u << 12; }, detailCode(DetailOptionBits)},
        {"bit 31 before rate 3", M100A, [](InstrumentConfig &c) { c.options |= 0x80000003u; },
         detailCode(DetailOptionBits)},
        {"reading rate 3", M100A, [](InstrumentConfig &c) { c.options |= 3; }, detailCode(DetailReadingRate)},
        {"memory mode 3", M100A, [](InstrumentConfig &c) { c.options |= 3u << 9; }, detailCode(DetailMemoryMode)},
        {"24:00:00.001", M100A, [](InstrumentConfig &c) { setTime(c, kInterval1, 24, 0, 0, 1); }, timeDetail(6 | 1)},
        {"24:00:00.000", M100A, [](InstrumentConfig &c) { setTime(c, kInterval1, 24, 0, 0, 0); }, 0},
        {"25 hours", M100A, [](InstrumentConfig &c) { setTime(c, kInterval1, 25, 0, 0, 0); }, timeDetail(1 | 1)},
        {"negative hours", M100A, [](InstrumentConfig &c) { c.interval1[0] = -1; }, timeDetail(1 | 1)},
        {"60 seconds", M100A, [](InstrumentConfig &c) { setTime(c, kInterval1, 0, 0, 60, 0); }, timeDetail(3 | 1)},
        {"interval1 unchecked without its trigger", M100A,
         [](InstrumentConfig &c) {
             c.options = 0;
             setTime(c, kInterval1, 99, 99, 99, 9999);
         },
         0},
        {"interval2 minutes, external trigger", M100A,
         [](InstrumentConfig &c) {
             c.options |= kExternalTrigger;
             setTime(c, kInterval2, 0, 60, 0, 0);
         },
         timeDetail(2 | 2)},
        {"interval2 milliseconds, alarm trigger", M100A,
         [](InstrumentConfig &c) {
             c.options |= kAlarmTrigger;
             setTime(c, kInterval2, 0, 0, 0, 1000);
             setTime(c, kAlarmChecking, 0, 0, 1, 0);
         },
         timeDetail(4 | 2)},
        {"alarm checking 24:01 on interval 3", M100A,
         [](InstrumentConfig &c) {
             c.options |= kAlarmTrigger;
             setTime(c, kAlarmChecking, 24, 1, 0, 0);
         },
         timeDetail(6 | 3)},
    });
}

TEST(ConfigValidationTest, AlarmCheckingIntervalMinimumDependsOnTheModel) {
    auto checking = [](int32_t ms) {
        return [ms](InstrumentConfig &c) {
            c.options |= kAlarmTrigger;
            setTime(c, kAlarmChecking, 0, 0, 0, ms);
        };
    };
    expectDetails({
        {"M200A 40 ms", M200A, checking(40), timeDetail(5 | 3)},
        {"M200A 50 ms", M200A, checking(50), 0},
        {"M100A 499 ms", M100A, checking(499), timeDetail(5 | 3)},
        {"M100A 500 ms", M100A, checking(500), 0},
        {"one second needs no minimum", M100A,
         [](InstrumentConfig &c) {
             c.options |= kAlarmTrigger;
             setTime(c, kAlarmChecking, 0, 0, 1, 0);
         },
         0},
        {"external trigger alone leaves it unchecked", M100A,
         [](InstrumentConfig &c) { c.options |= kExternalTrigger; }, 0},
    });
}

TEST(ConfigValidationTest, AlarmsAndScalingOfAnyChannel) {
    expectDetails({
        {"alarms 32", M100A, [](InstrumentConfig &c) { vdc(c, 4).alarms = 32; }, detailCode(DetailAlarmBits, 4)},
        {"alarm 1 both type bits", M100A, [](InstrumentConfig &c) { vdc(c, 4).alarms = 1 | 6; },
         detailCode(DetailAlarmBits, 4)},
        {"alarm 2 both type bits", M100A, [](InstrumentConfig &c) { vdc(c, 4).alarms = 24; },
         detailCode(DetailAlarmBits, 4)},
        {"alarm 1 HI with infinite limit", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 4);
             c.channels[3].alarms = 1 | 4;
             c.channels[3].limit1 = kInf;
         },
         detailCode(DetailAlarmLimit, 4)},
        {"alarm 2 LO with NaN limit", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 4);
             c.channels[3].alarms = 8;
             c.channels[3].limit2 = kNan;
         },
         detailCode(DetailAlarmLimit, 4)},
        {"limit of an alarm that is OFF is not looked at", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 4);
             c.channels[3].alarms = 1;
             c.channels[3].limit1 = kNan;
         },
         0},
        {"M not finite", M100A, [](InstrumentConfig &c) { vdc(c, 4).m = kNan; }, detailCode(DetailScaling, 4)},
        {"B on a computed channel", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             define(c, 21, FunctionAverage, 0, 0x1).b = -kInf;
         },
         detailCode(DetailScaling, 21)},
        {"an off channel is not looked at", M100A, [](InstrumentConfig &c) { c.channels[3].alarms = -1; }, 0},
    });
}

TEST(ConfigValidationTest, AnalogFunctionsAndRanges) {
    expectDetails({
        {"unknown function", M100A, [](InstrumentConfig &c) { define(c, 5, 3, 0); }, detailCode(DetailFunction, 5)},
        {"computed function on channel 5", M100A, [](InstrumentConfig &c) { define(c, 5, FunctionAverage, 0, 1); },
         detailCode(DetailFunction, 5)},
        {"VDC 50 V on M200A", M200A, [](InstrumentConfig &c) { define(c, 2, FunctionVdc, 9792); }, 0},
        {"VDC 50 V on M100A", M100A, [](InstrumentConfig &c) { define(c, 2, FunctionVdc, 9792); },
         detailCode(DetailRange, 2)},
        {"VDC 150/300 V on M200A", M200A, [](InstrumentConfig &c) { define(c, 2, FunctionVdc, 10048); },
         detailCode(DetailRange, 2)},
        {"VDC range of the current conversion", M200A, [](InstrumentConfig &c) { define(c, 2, FunctionVdc, 8708); }, 0},
        {"VAC 150/300 V on M100A", M100A, [](InstrumentConfig &c) { define(c, 2, FunctionVac, 13584); }, 0},
        {"VAC 150/300 V on M200A", M200A, [](InstrumentConfig &c) { define(c, 2, FunctionVac, 13584); },
         detailCode(DetailRange, 2)},
        {"Freq range not checked", M100A, [](InstrumentConfig &c) { define(c, 2, FunctionFreq, 12345); }, 0},
        {"thermocouple N", M100A, [](InstrumentConfig &c) { define(c, 6, FunctionThermocouple, 26625, 1); }, 0},
        {"thermocouple range", M100A, [](InstrumentConfig &c) { define(c, 6, FunctionThermocouple, 26626); },
         detailCode(DetailRange, 6)},
        {"open-thermocouple 2", M100A, [](InstrumentConfig &c) { define(c, 6, FunctionThermocouple, 24577, 2); },
         detailCode(DetailOpenThermocouple, 6)},
        {"current range", M100A, [](InstrumentConfig &c) { define(c, 7, FunctionCurrent, 28675).r0 = 100; },
         detailCode(DetailRange, 7)},
        {"shunt 10", M100A, [](InstrumentConfig &c) { define(c, 7, FunctionCurrent, 28673).r0 = 10; }, 0},
        {"shunt 250.1", M100A, [](InstrumentConfig &c) { define(c, 7, FunctionCurrent, 28674).r0 = 250.1f; },
         detailCode(DetailShunt, 7)},
        {"shunt NaN", M100A, [](InstrumentConfig &c) { define(c, 7, FunctionCurrent, 28674).r0 = kNan; },
         detailCode(DetailShunt, 7)},
        {"the lowest channel's problem wins", M100A,
         [](InstrumentConfig &c) {
             define(c, 9, FunctionVdc, 1);
             define(c, 8, FunctionVac, 1);
         },
         detailCode(DetailRange, 8)},
    });
}

TEST(ConfigValidationTest, OhmsAndRtdWiringAndModel) {
    auto rtd = [](InstrumentConfig &c, int number, int32_t wiring) -> ChannelConfig & {
        ChannelConfig &channel = define(c, number, FunctionRtd, 20512, wiring);
        channel.r0 = 100.0f;
        return channel;
    };
    expectDetails({
        {"wiring 0x9002", M100A, [](InstrumentConfig &c) { define(c, 1, FunctionOhms, 4612, 0x9002); },
         detailCode(DetailWiring, 1)},
        {"four-wire on channel 13", M100A, [](InstrumentConfig &c) { define(c, 13, FunctionOhms, 4612, kFourWire); },
         detailCode(DetailFourWireHigh, 13)},
        {"two-wire 300 Ohms on M200A", M200A, [](InstrumentConfig &c) { define(c, 1, FunctionOhms, 4097, kTwoWire); },
         detailCode(DetailTwoWireRefused, 1)},
        {"two-wire 3 kOhms on M100A", M100A, [](InstrumentConfig &c) { define(c, 1, FunctionOhms, 4354, kTwoWire); },
         0},
        {"two-wire 30 kOhms on M200A", M200A, [](InstrumentConfig &c) { define(c, 1, FunctionOhms, 4612, kTwoWire); },
         0},
        {"ohms range", M100A, [](InstrumentConfig &c) { define(c, 1, FunctionOhms, 4098, kTwoWire); },
         detailCode(DetailRange, 1)},
        {"two-wire RTD on M200A", M200A, [&](InstrumentConfig &c) { rtd(c, 2, kTwoWire); },
         detailCode(DetailTwoWireRefused, 2)},
        {"two-wire RTD on M100A", M100A, [&](InstrumentConfig &c) { rtd(c, 2, kTwoWire); }, 0},
        {"RTD range", M100A, [&](InstrumentConfig &c) { rtd(c, 2, kFourWire).range = 20514; },
         detailCode(DetailRange, 2)},
        {"R0 9.9", M100A, [&](InstrumentConfig &c) { rtd(c, 2, kFourWire).r0 = 9.9f; }, detailCode(DetailRtdR0, 2)},
        {"R0 1010", M100A, [&](InstrumentConfig &c) { rtd(c, 2, kFourWire).r0 = 1010.0f; }, 0},
        {"Custom-385 alpha 0.00374", M100A,
         [&](InstrumentConfig &c) {
             ChannelConfig &channel = rtd(c, 2, kFourWire);
             channel.range = KVX_RANGE_RTD_CUSTOM_385;
             channel.alphaFloat = 0.00374f;
         },
         0},
        {"Custom-385 alpha 0.00394", M100A,
         [&](InstrumentConfig &c) {
             ChannelConfig &channel = rtd(c, 2, kFourWire);
             channel.range = KVX_RANGE_RTD_CUSTOM_385;
             channel.alphaFloat = 0.00394f;
         },
         detailCode(DetailRtdAlpha, 2)},
        {"Custom-385 alpha NaN", M100A,
         [&](InstrumentConfig &c) {
             ChannelConfig &channel = rtd(c, 2, kFourWire);
             channel.range = KVX_RANGE_RTD_CUSTOM_385;
             channel.alphaFloat = kNan;
         },
         detailCode(DetailRtdAlpha, 2)},
        {"Fixed-385 ignores alpha", M100A, [&](InstrumentConfig &c) { rtd(c, 2, kFourWire).alphaFloat = kNan; }, 0},
    });
}

TEST(ConfigValidationTest, FourWirePartnersMustBeOff) {
    expectDetails({
        {"channel 3 four-wire with 13 defined", M100A,
         [](InstrumentConfig &c) {
             define(c, 3, FunctionOhms, 4612, kFourWire);
             vdc(c, 13);
         },
         detailCode(DetailFourWirePair, 13)},
        {"the lowest partner is named", M100A,
         [](InstrumentConfig &c) {
             define(c, 4, FunctionOhms, 4612, kFourWire);
             define(c, 2, FunctionOhms, 4612, kFourWire);
             vdc(c, 14);
             vdc(c, 12);
         },
         detailCode(DetailFourWirePair, 12)},
        {"partner off", M100A, [](InstrumentConfig &c) { define(c, 3, FunctionOhms, 4612, kFourWire); }, 0},
        {"pairs are checked before computed channels", M100A,
         [](InstrumentConfig &c) {
             define(c, 3, FunctionOhms, 4612, kFourWire);
             vdc(c, 13);
             define(c, 21, 7, 0);
         },
         detailCode(DetailFourWirePair, 13)},
    });
}

TEST(ConfigValidationTest, ComputedChannelSources) {
    expectDetails({
        {"A - B with A = 22 on channel 22", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             define(c, 22, FunctionDifference, 0, 1).alpha = 22;
         },
         detailCode(DetailSourceOrder, 22)},
        {"A - B with A = 5 off", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             define(c, 22, FunctionDifference, 0, 1).alpha = 5;
         },
         detailCode(DetailSourceOff, 22)},
        {"A - B with B = 30", M100A, [](InstrumentConfig &c) { define(c, 22, FunctionDifference, 0, 30).alpha = 1; },
         detailCode(DetailComputedSource, 22)},
        {"A - B with A = 0", M100A, [](InstrumentConfig &c) { define(c, 22, FunctionDifference, 0, 1).alpha = 0; },
         detailCode(DetailComputedSource, 22)},
        {"A - B of two analog channels", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             vdc(c, 2);
             define(c, 22, FunctionDifference, 0, 2).alpha = 1;
         },
         0},
        {"average of nothing", M100A, [](InstrumentConfig &c) { define(c, 21, FunctionAverage, 0, 0); },
         detailCode(DetailSourceOrder, 21)},
        {"average including itself", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             define(c, 21, FunctionAverage, 0, 0x1 | (1 << 20));
         },
         detailCode(DetailSourceOrder, 21)},
        {"average of bit 31", M100A, [](InstrumentConfig &c) { define(c, 30, FunctionAverage, 0, INT32_MIN); },
         detailCode(DetailSourceOrder, 30)},
        {"A - average with empty mask", M100A,
         [](InstrumentConfig &c) { define(c, 23, FunctionAverageDifference, 0, 0).alpha = 1; },
         detailCode(DetailSourceOrder, 23)},
        {"A - average with A off", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 2);
             define(c, 23, FunctionAverageDifference, 0, 0x2).alpha = 1;
         },
         detailCode(DetailSourceOff, 23)},
        {"analog function on channel 21", M100A, [](InstrumentConfig &c) { vdc(c, 21); },
         detailCode(DetailFunction, 21)},
        {"a chain through computed channels", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             define(c, 21, FunctionAverage, 0, 0x1);
             define(c, 25, FunctionDifference, 0, 21).alpha = 1;
         },
         0},
        {"reading a computed channel that is off", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             define(c, 25, FunctionDifference, 0, 21).alpha = 1;
         },
         detailCode(DetailSourceOff, 25)},
        {"a computed channel after one that failed is not reached", M100A,
         [](InstrumentConfig &c) {
             define(c, 21, FunctionAverage, 0, 0x1);
             define(c, 22, FunctionAverage, 0, 0);
         },
         detailCode(DetailSourceOff, 21)},
    });
}

void compileInto(InstrumentConfig &config, int number, size_t offset, const char *text) {
    const EquationResult result = compileEquation(text, config.equations + offset);
    ASSERT_EQ(result.error, EquationOk);
    define(config, number, FunctionEquation, 0, static_cast<int32_t>(offset));
}

void putChannelToken(InstrumentConfig &config, size_t at, uint16_t channel) {
    config.equations[at] = TokenChannel;
    std::memcpy(config.equations + at + 1, &channel, sizeof channel);
}

TEST(ConfigValidationTest, EquationByteCode) {
    expectDetails({
        {"compiled equations side by side", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             vdc(c, 2);
             compileInto(c, 21, 0, "(C1+C2)/2");
             compileInto(c, 22, 16, "LOG(C21)*1.5-C1");
         },
         0},
        {"just the end code", M100A, [](InstrumentConfig &c) { define(c, 24, FunctionEquation, 0, 7); },
         detailCode(DetailEquationNoChannel, 24)},
        {"offset 1000", M100A, [](InstrumentConfig &c) { define(c, 24, FunctionEquation, 0, 1000); },
         detailCode(DetailEquationOffset, 24)},
        {"negative offset", M100A, [](InstrumentConfig &c) { define(c, 24, FunctionEquation, 0, -1); },
         detailCode(DetailEquationOffset, 24)},
        {"code 16", M100A,
         [](InstrumentConfig &c) {
             putChannelToken(c, 0, 1);
             c.equations[3] = 16;
             define(c, 24, FunctionEquation, 0, 0);
         },
         detailCode(DetailEquationCode, 24)},
        {"channel 31", M100A,
         [](InstrumentConfig &c) {
             putChannelToken(c, 0, 31);
             define(c, 24, FunctionEquation, 0, 0);
         },
         detailCode(DetailEquationChannel, 24)},
        {"channel 0", M100A,
         [](InstrumentConfig &c) {
             putChannelToken(c, 0, 0);
             define(c, 24, FunctionEquation, 0, 0);
         },
         detailCode(DetailEquationChannel, 24)},
        {"reading a channel that is off", M100A, [](InstrumentConfig &c) { compileInto(c, 24, 0, "C3*2"); },
         detailCode(DetailSourceOff, 24)},
        {"reading itself", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             compileInto(c, 24, 0, "C1+C24");
         },
         detailCode(DetailSourceOrder, 24)},
        {"reserved token is skipped whole", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             c.equations[0] = TokenReserved;
             std::memset(c.equations + 1, 0xFF, 8);
             putChannelToken(c, 9, 1);
             define(c, 24, FunctionEquation, 0, 0);
         },
         0},
        {"operators up to the area's end", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             putChannelToken(c, 990, 1);
             std::memset(c.equations + 993, TokenNegate, 7);
             define(c, 24, FunctionEquation, 0, 990);
         },
         detailCode(DetailEquationOverrun, 24)},
        {"channel token cut off by the area's end", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             putChannelToken(c, 995, 1);
             c.equations[998] = TokenChannel;
             c.equations[999] = 1;
             define(c, 24, FunctionEquation, 0, 995);
         },
         detailCode(DetailEquationOverrun, 24)},
        {"end code in the last byte", M100A,
         [](InstrumentConfig &c) {
             vdc(c, 1);
             putChannelToken(c, 996, 1);
             define(c, 24, FunctionEquation, 0, 996);
         },
         0},
    });
}

} // namespace
