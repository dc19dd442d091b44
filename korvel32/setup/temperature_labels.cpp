#include "setup/temperature_labels.h"

namespace korvel {

bool measuresTemperature(ChannelFunction function) {
    return function == ChannelFunction::Thermocouple || function == ChannelFunction::Rtd2W ||
           function == ChannelFunction::Rtd4W;
}

void followTemperatureUnits(ChannelSetup &channel, TemperatureUnits units) {
    if (!measuresTemperature(channel.function)) return;
    const bool celsius = units == TemperatureUnits::Celsius;
    const char *wrong = celsius ? kFahrenheitUnitsLabel : kCelsiusUnitsLabel;
    if (channel.unitsLabel == wrong) channel.unitsLabel = celsius ? kCelsiusUnitsLabel : kFahrenheitUnitsLabel;
}

} // namespace korvel
