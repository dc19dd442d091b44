// The two alarms of every channel against their limits, the digital outputs
// they drive, and whether an alarm-trigger channel is in alarm.
#pragma once

#include <cstdint>

#include "channel_readings.h"

namespace korvelsim {

struct AlarmState {
    std::uint32_t alarm1 = 0; // bit n - 1: channel n in alarm 1
    std::uint32_t alarm2 = 0;
    std::uint8_t outputsOn = 0;    // output lines driven on by an alarm now
    std::uint8_t outputsOwned = 0; // output lines assigned to any alarm
    bool triggerChannelInAlarm = false;
};

// LO is in alarm below its limit, HI above it; a reading that is no number
// (open thermocouple) is in neither.
AlarmState evaluateAlarms(const InstrumentConfig &config, const ChannelReadings &readings);

// The digital lines as they show once the alarms have driven their outputs.
std::uint8_t linesWithAlarms(std::uint8_t lines, const AlarmState &alarms);

} // namespace korvelsim
