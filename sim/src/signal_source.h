// What an analog input sees: a slow wave with a little noise, inside the
// channel's range, the same for the same seed, channel and moment, so that
// runs repeat while alarms and plots still have something to show.
#pragma once

#include <cstdint>

#include "kvlink32.h"

namespace korvelsim {

bool isTemperature(std::int32_t functionCode);

// The quantity an analog channel measures before the instrument's own
// scaling: volts, ohms, hertz, degrees Celsius, or amperes for Current.
double measuredQuantity(const ChannelConfig &channel, int channelNumber, std::uint32_t seed, double seconds);

// Volts across the shunt of a Current channel carrying this current.
double shuntVoltage(const ChannelConfig &channel, double amperes);

} // namespace korvelsim
