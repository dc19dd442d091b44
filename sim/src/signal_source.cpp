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
        case 4097: return 300.0;
        case 4354: return 3e3;
        case 4612: return 3e4;
        case 4872: return 3e5;
        case 5136: return 3e6;
        case 5408: return 1e4;
        case 8193: return 0.09;
        case 8450:
        case 12289: return 0.3;
        case 8708: return 0.75;
        case 8968:
        case 12546: return 3.0;
        case 9232:
        case 12804: return 30.0;
        case 9504:
        case 13064: return 10.0;
        case 9792: return 50.0;
        case 10048:
        case 13584: return 300.0;
        default: return 1.0;
    }
}

Span spanOf(const ChannelConfig &channel) {
    switch (channel.function) {
        case function::kVdc: {
            const double scale = fullScale(channel.range) * 0.8;
            return {-scale, scale};
        }
        case function::kVac:
        case function::kOhms: return {0.05 * fullScale(channel.range), 0.85 * fullScale(channel.range)};
        case function::kFrequency: return {50.0, 950.0};
        case function::kRtd: return {15.0, 35.0};
        case function::kThermocouple: return {0.0, 100.0};
        case function::kCurrent: return channel.aux == kCurrent0To100mA ? Span{0.01, 0.09} : Span{0.005, 0.019};
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
    return functionCode == function::kRtd || functionCode == function::kThermocouple;
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
