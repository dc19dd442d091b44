#include "signal_source.h"

#include <cmath>
#include <numbers>

namespace korvelsim {

namespace {

struct Span {
    double low;
    double high;
};

// Full scale of a voltage, resistance or AC range; Auto reads like a middle range.
double fullScale(std::int32_t range) {
    switch (range) {
        case KVX_RANGE_OHMS_300: return 300.0;
        case KVX_RANGE_OHMS_3K: return 3e3;
        case KVX_RANGE_OHMS_30K: return 3e4;
        case KVX_RANGE_OHMS_300K: return 3e5;
        case KVX_RANGE_OHMS_3M: return 3e6;
        case KVX_RANGE_OHMS_AUTO: return 1e4;
        case KVX_RANGE_VDC_90MV: return 0.09;
        case KVX_RANGE_VDC_300MV:
        case KVX_RANGE_VAC_300MV: return 0.3;
        case KVX_RANGE_VDC_750MV: return 0.75;
        case KVX_RANGE_VDC_3V:
        case KVX_RANGE_VAC_3V: return 3.0;
        case KVX_RANGE_VDC_30V:
        case KVX_RANGE_VAC_30V: return 30.0;
        case KVX_RANGE_VDC_AUTO:
        case KVX_RANGE_VAC_AUTO: return 10.0;
        case KVX_RANGE_VDC_50V: return 50.0;
        case KVX_RANGE_VDC_300V:
        case KVX_RANGE_VAC_300V: return 300.0;
        default: return 1.0;
    }
}

Span spanOf(const ChannelConfig &channel) {
    switch (channel.function) {
        case KVX_FN_VDC: {
            const double scale = fullScale(channel.range) * 0.8;
            return {-scale, scale};
        }
        case KVX_FN_VAC:
        case KVX_FN_OHMS: return {0.05 * fullScale(channel.range), 0.85 * fullScale(channel.range)};
        case KVX_FN_FREQ: return {50.0, 950.0};
        case KVX_FN_RTD: return {15.0, 35.0};
        case KVX_FN_THERMOCOUPLE: return {0.0, 100.0};
        case KVX_FN_CURRENT: return channel.aux == KVX_RANGE_CURRENT_0_100MA ? Span{0.01, 0.09} : Span{0.005, 0.019};
        default: return {0.0, 1.0};
    }
}

// A well-mixed 32-bit hash, so that neighbouring inputs give unrelated noise.
std::uint32_t mix(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    value ^= value >> 16;
    return value;
}

} // namespace

bool isTemperature(std::int32_t functionCode) {
    return functionCode == KVX_FN_RTD || functionCode == KVX_FN_THERMOCOUPLE;
}

double measuredQuantity(const ChannelConfig &channel, int channelNumber, std::uint32_t seed, double seconds) {
    const std::uint32_t channelKey = mix(seed * 31U + static_cast<std::uint32_t>(channelNumber));
    const double period = 20.0 + static_cast<double>(channelKey % 40U); // seconds
    const double phase = static_cast<double>(channelKey % 628U) / 100.0;
    const auto tenths = static_cast<std::uint32_t>(std::llround(seconds * 10.0));
    const double noise = static_cast<double>(mix(channelKey ^ tenths) % 2001U) / 1000.0 - 1.0;
    const double fraction = 0.5 + 0.4 * std::sin(2.0 * std::numbers::pi * seconds / period + phase) + 0.05 * noise;
    const Span span = spanOf(channel);
    return span.low + fraction * (span.high - span.low);
}

double shuntVoltage(const ChannelConfig &channel, double amperes) { return amperes * channel.r0; }

} // namespace korvelsim
