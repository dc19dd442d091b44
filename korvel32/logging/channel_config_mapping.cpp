#include "logging/channel_config_mapping.h"

#include <cstdint>

namespace korvel {
namespace {

// The instrument's range code of each range the setup can hold for a
// function; a 4-wire function shares the ranges of its 2-wire twin.
struct RangeEntry {
    ChannelFunction function;
    RangeCode range;
    std::int32_t code;
};

constexpr RangeEntry kRangeCodes[] = {
    {ChannelFunction::Vdc, RangeCode::Auto, KVX_RANGE_VDC_AUTO},
    {ChannelFunction::Vdc, RangeCode::Vdc90mV, KVX_RANGE_VDC_90MV},
    {ChannelFunction::Vdc, RangeCode::Vdc300mV, KVX_RANGE_VDC_300MV},
    {ChannelFunction::Vdc, RangeCode::Vdc3V, KVX_RANGE_VDC_3V},
    {ChannelFunction::Vdc, RangeCode::Vdc30V, KVX_RANGE_VDC_30V},
    {ChannelFunction::Vdc, RangeCode::Vdc50V, KVX_RANGE_VDC_50V},
    {ChannelFunction::Vdc, RangeCode::Vdc150_300V, KVX_RANGE_VDC_300V},
    {ChannelFunction::Vac, RangeCode::Auto, KVX_RANGE_VAC_AUTO},
    {ChannelFunction::Vac, RangeCode::Vac300mV, KVX_RANGE_VAC_300MV},
    {ChannelFunction::Vac, RangeCode::Vac3V, KVX_RANGE_VAC_3V},
    {ChannelFunction::Vac, RangeCode::Vac30V, KVX_RANGE_VAC_30V},
    {ChannelFunction::Vac, RangeCode::Vac150_300V, KVX_RANGE_VAC_300V},
    {ChannelFunction::Ohms2W, RangeCode::Auto, KVX_RANGE_OHMS_AUTO},
    {ChannelFunction::Ohms2W, RangeCode::Ohms300, KVX_RANGE_OHMS_300},
    {ChannelFunction::Ohms2W, RangeCode::Ohms3k, KVX_RANGE_OHMS_3K},
    {ChannelFunction::Ohms2W, RangeCode::Ohms30k, KVX_RANGE_OHMS_30K},
    {ChannelFunction::Ohms2W, RangeCode::Ohms300k, KVX_RANGE_OHMS_300K},
    {ChannelFunction::Ohms2W, RangeCode::Ohms3M, KVX_RANGE_OHMS_3M},
    {ChannelFunction::Thermocouple, RangeCode::TcJ, KVX_RANGE_TC_J},
    {ChannelFunction::Thermocouple, RangeCode::TcK, KVX_RANGE_TC_K},
    {ChannelFunction::Thermocouple, RangeCode::TcE, KVX_RANGE_TC_E},
    {ChannelFunction::Thermocouple, RangeCode::TcT, KVX_RANGE_TC_T},
    {ChannelFunction::Thermocouple, RangeCode::TcN, KVX_RANGE_TC_N},
    {ChannelFunction::Thermocouple, RangeCode::TcR, KVX_RANGE_TC_R},
    {ChannelFunction::Thermocouple, RangeCode::TcS, KVX_RANGE_TC_S},
    {ChannelFunction::Thermocouple, RangeCode::TcB, KVX_RANGE_TC_B},
    {ChannelFunction::Thermocouple, RangeCode::TcC, KVX_RANGE_TC_C},
};

// 0 for a range the function does not have, which the library's validation refuses.
std::int32_t rangeCodeOf(ChannelFunction function, RangeCode range) {
    if (function == ChannelFunction::Ohms4W) function = ChannelFunction::Ohms2W;
    for (const RangeEntry &entry : kRangeCodes) {
        if (entry.function == function && entry.range == range) return entry.code;
    }
    return 0;
}

// The average set of the setup counts channels from bit 1; the instrument's
// mask counts them from bit 0.
std::int32_t averageMask(const ChannelSetup &channel) { return static_cast<std::int32_t>(channel.averageSet >> 1); }

std::int32_t alarmBits(const ChannelSetup &channel) {
    std::int32_t bits = 0;
    const bool anyAlarm = channel.alarm1.sense != AlarmSense::Off || channel.alarm2.sense != AlarmSense::Off;
    if (channel.alarmTrigger && anyAlarm) bits |= 1;
    if (channel.alarm1.sense == AlarmSense::Lo) bits |= 2;
    if (channel.alarm1.sense == AlarmSense::Hi) bits |= 4;
    if (channel.alarm2.sense == AlarmSense::Lo) bits |= 8;
    if (channel.alarm2.sense == AlarmSense::Hi) bits |= 16;
    return bits;
}

// None → 0, DO0..DO7 → 1, 2, 4 ... 128.
std::int32_t outputLine(AlarmOutput output) {
    const int line = codeValue(output) - codeValue(AlarmOutput::Do0);
    if (line < 0 || line > 7) return 0;
    return std::int32_t{1} << line;
}

void setFunction(ChannelConfig &config, const ChannelSetup &channel) {
    config.range = rangeCodeOf(channel.function, channel.range);
    switch (channel.function) {
        case ChannelFunction::Off: break;
        case ChannelFunction::Vdc: config.function = KVX_FN_VDC; break;
        case ChannelFunction::Vac: config.function = KVX_FN_VAC; break;
        case ChannelFunction::Ohms2W:
        case ChannelFunction::Ohms4W:
            config.function = KVX_FN_OHMS;
            config.aux = channel.function == ChannelFunction::Ohms4W ? KVX_WIRING_4W : KVX_WIRING_2W;
            break;
        case ChannelFunction::Thermocouple:
            config.function = KVX_FN_THERMOCOUPLE;
            config.aux = channel.openTcDetect ? 1 : 0;
            break;
        case ChannelFunction::Rtd2W:
        case ChannelFunction::Rtd4W:
            config.function = KVX_FN_RTD;
            config.r0 = static_cast<float>(channel.r0);
            config.aux = channel.function == ChannelFunction::Rtd4W ? KVX_WIRING_4W : KVX_WIRING_2W;
            if (channel.range == RangeCode::RtdCustom385) {
                config.range = KVX_RANGE_RTD_CUSTOM_385;
                config.alphaFloat = static_cast<float>(channel.alpha);
            } else {
                config.range = KVX_RANGE_RTD_FIXED_385;
            }
            break;
        case ChannelFunction::Freq: config.function = KVX_FN_FREQ; break;
        case ChannelFunction::Current:
            config.function = KVX_FN_CURRENT;
            config.range =
                channel.range == RangeCode::Current0to100mA ? KVX_RANGE_CURRENT_0_100MA : KVX_RANGE_CURRENT_4_20MA;
            config.r0 = static_cast<float>(channel.shunt);
            break;
        case ChannelFunction::Average:
            config.function = KVX_FN_AVERAGE;
            config.aux = averageMask(channel);
            break;
        case ChannelFunction::ChanAMinusChanB:
            config.function = KVX_FN_CHAN_A_MINUS_CHAN_B;
            config.alpha = channel.channelA;
            config.aux = channel.channelB;
            break;
        case ChannelFunction::ChanAMinusAverage:
            config.function = KVX_FN_CHAN_A_MINUS_AVERAGE;
            config.alpha = channel.channelA;
            config.aux = averageMask(channel);
            break;
        case ChannelFunction::Equation: config.function = KVX_FN_EQUATION; break;
    }
}

} // namespace

ChannelConfig channelConfigOf(const ChannelSetup &channel) {
    ChannelConfig config{};
    setFunction(config, channel);
    config.alarms = alarmBits(channel);
    config.limit1 = static_cast<float>(channel.alarm1.value);
    config.limit2 = static_cast<float>(channel.alarm2.value);
    config.output1 = outputLine(channel.alarm1.output);
    config.output2 = outputLine(channel.alarm2.output);
    config.m = channel.mxbEnabled ? static_cast<float>(channel.m) : 1.0f;
    config.b = channel.mxbEnabled ? static_cast<float>(channel.b) : 0.0f;
    return config;
}

} // namespace korvel
