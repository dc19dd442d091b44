// The units labels of temperature channels, which follow the instrument's
// temperature units.
#pragma once

#include "setup/instrument_setup.h"

namespace korvel {

// Thermocouple, RTD-2W and RTD-4W measure temperature.
bool measuresTemperature(ChannelFunction function);

// Turns a "°F" label into "°C" for Celsius, or "°C" into "°F" for Fahrenheit,
// on a temperature channel; any other label is the user's and stays.
void followTemperatureUnits(ChannelSetup &channel, TemperatureUnits units);

} // namespace korvel
