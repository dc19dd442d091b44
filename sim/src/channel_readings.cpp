#include "channel_readings.h"

#include <bit>
#include <limits>

#include "equation.h"
#include "signal_source.h"

namespace korvelsim {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

float specialReading(Special special) {
    switch (special) {
        case Special::OpenThermocouple: return std::bit_cast<float>(0x7FC00000U);
        case Special::PositiveOverload: return kInfinity;
        case Special::NegativeOverload: return -kInfinity;
        case Special::None: break;
    }
    return 0.0f;
}

double readingOf(const ChannelReadings &readings, std::int32_t channel) {
    return channel >= 1 && channel <= KVX_MAX_CHANNELS ? readings[static_cast<std::size_t>(channel) - 1] : kNaN;
}

double averageOf(const ChannelReadings &readings, std::int32_t mask) {
    double sum = 0.0;
    int count = 0;
    for (int channel = 1; channel <= KVX_MAX_CHANNELS; ++channel) {
        if (mask & (1 << (channel - 1))) {
            sum += readings[static_cast<std::size_t>(channel) - 1];
            ++count;
        }
    }
    return count > 0 ? sum / count : kNaN;
}

double computed(const InstrumentConfig &config, const ChannelConfig &channel, const ChannelReadings &readings) {
    switch (channel.function) {
        case KVX_FN_AVERAGE: return averageOf(readings, channel.aux);
        case KVX_FN_CHAN_A_MINUS_CHAN_B: return readingOf(readings, channel.alpha) - readingOf(readings, channel.aux);
        case KVX_FN_CHAN_A_MINUS_AVERAGE: return readingOf(readings, channel.alpha) - averageOf(readings, channel.aux);
        case KVX_FN_EQUATION:
            return channel.aux >= 0 && channel.aux < KVX_EQUATION_AREA
                       ? evaluateEquation(config.equations, static_cast<std::size_t>(channel.aux), readings)
                       : kNaN;
        default: return 0.0;
    }
}

double inUnits(const InstrumentConfig &config, const ChannelConfig &channel, double quantity) {
    if (channel.function == KVX_FN_CURRENT) {
        return shuntVoltage(channel, quantity);
    }
    if (isTemperature(channel.function) && (config.options & kFahrenheitOption)) {
        return quantity * 9.0 / 5.0 + 32.0;
    }
    return quantity;
}

} // namespace

ChannelReadings readChannels(const InstrumentConfig &config, const ChannelOverrides &overrides, std::uint32_t seed,
                             double seconds) {
    ChannelReadings readings{};
    for (int number = 1; number <= KVX_MAX_CHANNELS; ++number) {
        const ChannelConfig &channel = config.channels[number - 1];
        float &reading = readings[static_cast<std::size_t>(number) - 1];
        const auto found = overrides.find(number);
        const ChannelOverride fixed = found == overrides.end() ? ChannelOverride{} : found->second;
        if (channel.function == KVX_FN_OFF) {
            continue;
        }
        if (fixed.special != Special::None) {
            reading = specialReading(fixed.special);
            continue;
        }
        const bool isComputed = number > KVX_MAX_CHANNELS - 10;
        double quantity = 0.0;
        if (fixed.value) {
            quantity = *fixed.value;
        } else {
            quantity =
                isComputed ? computed(config, channel, readings) : measuredQuantity(channel, number, seed, seconds);
        }
        if (!isComputed) {
            quantity = inUnits(config, channel, quantity);
        }
        reading = static_cast<float>(channel.m * quantity + channel.b);
    }
    return readings;
}

std::vector<float> recordedReadings(const InstrumentConfig &config, const ChannelReadings &readings) {
    std::vector<float> recorded;
    for (std::size_t index = 0; index < readings.size(); ++index) {
        if (config.channels[index].function != KVX_FN_OFF) {
            recorded.push_back(readings[index]);
        }
    }
    return recorded;
}

int recordSizeOf(const InstrumentConfig &config) {
    int channels = 0;
    for (const ChannelConfig &channel : config.channels) {
        channels += channel.function != KVX_FN_OFF ? 1 : 0;
    }
    return 28 + 4 * channels;
}

} // namespace korvelsim
