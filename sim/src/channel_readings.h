// The readings of one scan: every channel measured or computed in channel
// order, with the temperature unit and Mx+B of the configuration applied.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "kvlink32.h"

namespace korvelsim {

using ChannelReadings = std::array<float, KVX_MAX_CHANNELS>; // channel n at n - 1

// The conditions an instrument reports instead of a number.
enum class Special { None, OpenThermocouple, PositiveOverload, NegativeOverload };

// Set from the control channel: a fixed input (before the unit and Mx+B), or
// a special reading that stands as it is.
struct ChannelOverride {
    std::optional<double> value;
    Special special = Special::None;
};
using ChannelOverrides = std::map<int, ChannelOverride>;

inline constexpr std::uint32_t kFahrenheitOption = 1U << 2;

// Channels that are off read 0.
ChannelReadings readChannels(const InstrumentConfig &config, const ChannelOverrides &overrides, std::uint32_t seed,
                             double seconds);

// The readings a scan record carries: those of the channels that are not off.
std::vector<float> recordedReadings(const InstrumentConfig &config, const ChannelReadings &readings);

// 28 + 4 x the channels that are not off.
int recordSizeOf(const InstrumentConfig &config);

} // namespace korvelsim
