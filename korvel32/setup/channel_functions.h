// What kind of measurement a channel function is.
#pragma once

#include "setup/setup_codes.h"

namespace korvel {

// The functions of the analog input channels 1..20 (OFF aside).
constexpr bool isAnalogFunction(ChannelFunction function) {
    return function >= ChannelFunction::Vdc && function <= ChannelFunction::Current;
}

// A 4-wire measurement on channel n takes its second pair of leads from n + 10.
constexpr bool isFourWire(ChannelFunction function) {
    return function == ChannelFunction::Ohms4W || function == ChannelFunction::Rtd4W;
}

constexpr bool isRtd(ChannelFunction function) {
    return function == ChannelFunction::Rtd2W || function == ChannelFunction::Rtd4W;
}

} // namespace korvel
