// What an analog input sees: a slow wave with a little noise, inside the
// channel's range, the same for the same seed, channel and moment, so that
// runs repeat while alarms and plots still have something to show.
#pragma once

#include <cstdint>

#include "kvlink32.h"

namespace korvelsim {

// Channel functions and ranges of the configuration block.
namespace function {
inline constexpr std::int32_t kOff = 0;
inline constexpr std::int32_t kOhms = 1;
inline constexpr std::int32_t kVdc = 2;
inline constexpr std::int32_t kVac = 4;
inline constexpr std::int32_t kFrequency = 8;
inline constexpr std::int32_t kRtd = 16;
inline constexpr std::int32_t kThermocouple = 32;
inline constexpr std::int32_t kCurrent = 65538;
inline constexpr std::int32_t kAverage = 32769;
inline constexpr std::int32_t kChanAMinusChanB = 32770;
inline constexpr std::int32_t kChanAMinusAverage = 32771;
inline constexpr std::int32_t kEquation = 32772;
} // namespace function

inline constexpr std::int32_t kCurrent0To100mA = 28673;

bool isTemperature(std::int32_t functionCode);

// The quantity an analog channel measures before the instrument's own
// scaling: volts, ohms, hertz, degrees Celsius, or amperes for Current.
double measuredQuantity(const ChannelConfig &channel, int channelNumber, std::uint32_t seed, double seconds);

// Volts across the shunt of a Current channel carrying this current.
double shuntVoltage(const ChannelConfig &channel, double amperes);

} // namespace korvelsim
