#include "logging/channel_config_mapping.h"

#include <cstdint>

namespace korvel {
namespace {

constexpr std::int32_t kTwoWire = 0x9000;
constexpr std::int32_t kFourWire = 0x9001;

// The instrument's range code of each range the setup can hold for a
// function; a 4-wire function shares the ranges of its 2-wire twin.
struct RangeEntry {
    ChannelFunction function;
    RangeCode range;
    std::int32_t code;
};

constexpr RangeEntry kRangeCodes[] = {
    {ChannelFunction::Vdc, RangeCode::Auto, 9504},          {ChannelFunction::Vdc, RangeCode::Vdc90mV, 8193},
    {ChannelFunction::Vdc, RangeCode::Vdc300mV, 8450},      {ChannelFunction::Vdc, RangeCode::Vdc3V, 8968},
    {ChannelFunction::Vdc, RangeCode::Vdc30V, 9232},        {ChannelFunction::Vdc, RangeCode::Vdc50V, 9792},
    {ChannelFunction::Vdc, RangeCode::Vdc150_300V, 10048},  {ChannelFunction::Vac, RangeCode::Auto, 13064},
    {ChannelFunction::Vac, RangeCode::Vac300mV, 12289},     {ChannelFunction::Vac, RangeCode::Vac3V, 12546},
    {ChannelFunction::Vac, RangeCode::Vac30V, 12804},       {ChannelFunction::Vac, RangeCode::Vac150_300V, 13584},
    {ChannelFunction::Ohms2W, RangeCode::Auto, 5408},       {ChannelFunction::Ohms2W, RangeCode::Ohms300, 4097},
    {ChannelFunction::Ohms2W, RangeCode::Ohms3k, 4354},     {ChannelFunction::Ohms2W, RangeCode::Ohms30k, 4612},
    {ChannelFunction::Ohms2W, RangeCode::Ohms300k, 4872},   {ChannelFunction::Ohms2W, RangeCode::Ohms3M, 5136},
    {ChannelFunction::Thermocouple, RangeCode::TcJ, 24577}, {ChannelFunction::Thermocouple, RangeCode::TcK, 24833},
    {ChannelFunction::Thermocouple, RangeCode::TcE, 25089}, {ChannelFunction::Thermocouple, RangeCode::TcT, 25345},
    {ChannelFunction::Thermocouple, RangeCode::TcN, 26625}, {ChannelFunction::Thermocouple, RangeCode::TcR, 25601},
    {ChannelFunction::Thermocouple, RangeCode::TcS, 25857}, {ChannelFunction::Thermocouple, RangeCode::TcB, 26113},
    {ChannelFunction::Thermocouple, RangeCode::TcC, 26369},
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
        case ChannelFunction::Vdc: config.function = 2; break;
        case ChannelFunction::Vac: config.function = 4; break;
        case ChannelFunction::Ohms2W:
        case ChannelFunction::Ohms4W:
            config.function = 1;
            config.aux = channel.function == ChannelFunction::Ohms4W ? kFourWire : kTwoWire;
            break;
        case ChannelFunction::Thermocouple:
            config.function = 32;
            config.aux = channel.openTcDetect ? 1 : 0;
            break;
        case ChannelFunction::Rtd2W:
        case ChannelFunction::Rtd4W:
            config.function = 16;
            config.r0 = static_cast<float>(channel.r0);
            config.aux = channel.function == ChannelFunction::Rtd4W ? kFourWire : kTwoWire;
            if (channel.range == RangeCode::RtdCustom385) {
                config.range = 20513;
                config.alphaFloat = static_cast<float>(channel.alpha);
            } else {
                config.range = 20512;
            }
            break;
        case ChannelFunction::Freq: config.function = 8; break;
        case ChannelFunction::Current:
            config.function = 65538;
            config.range = channel.range == RangeCode::Current0to100mA ? 28673 : 28674;
            config.r0 = static_cast<float>(channel.shunt);
            break;
        case ChannelFunction::Average:
            config.function = 32769;
            config.aux = averageMask(channel);
            break;
        case ChannelFunction::ChanAMinusChanB:
            config.function = 32770;
            config.alpha = channel.channelA;
            config.aux = channel.channelB;
            break;
        case ChannelFunction::ChanAMinusAverage:
            config.function = 32771;
            config.alpha = channel.channelA;
            config.aux = averageMask(channel);
            break;
        case ChannelFunction::Equation: config.function = 32772; break;
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
