#include "alarms.h"

namespace korvelsim {

namespace {

constexpr std::int32_t kAlarmTrigger = 1;
constexpr std::int32_t kAlarm1Lo = 2;
constexpr std::int32_t kAlarm1Hi = 4;
constexpr std::int32_t kAlarm2Lo = 8;
constexpr std::int32_t kAlarm2Hi = 16;

bool inAlarm(float reading, bool lo, bool hi, float limit) {
    return (lo && reading < limit) || (hi && reading > limit);
}

} // namespace

AlarmState evaluateAlarms(const InstrumentConfig &config, const ChannelReadings &readings) {
    AlarmState state;
    for (std::size_t index = 0; index < readings.size(); ++index) {
        const ChannelConfig &channel = config.channels[index];
        if (channel.function == 0) {
            continue;
        }
        const std::int32_t bits = channel.alarms;
        const std::uint32_t channelBit = 1U << index;
        const bool first = inAlarm(readings[index], bits & kAlarm1Lo, bits & kAlarm1Hi, channel.limit1);
        const bool second = inAlarm(readings[index], bits & kAlarm2Lo, bits & kAlarm2Hi, channel.limit2);
        if (bits & (kAlarm1Lo | kAlarm1Hi)) {
            state.outputsOwned |= static_cast<std::uint8_t>(channel.output1);
        }
        if (bits & (kAlarm2Lo | kAlarm2Hi)) {
            state.outputsOwned |= static_cast<std::uint8_t>(channel.output2);
        }
        if (first) {
            state.alarm1 |= channelBit;
            state.outputsOn |= static_cast<std::uint8_t>(channel.output1);
        }
        if (second) {
            state.alarm2 |= channelBit;
            state.outputsOn |= static_cast<std::uint8_t>(channel.output2);
        }
        if ((bits & kAlarmTrigger) && (first || second)) {
            state.triggerChannelInAlarm = true;
        }
    }
    return state;
}

std::uint8_t linesWithAlarms(std::uint8_t lines, const AlarmState &alarms) {
    return static_cast<std::uint8_t>((lines & ~alarms.outputsOwned) | alarms.outputsOn);
}

} // namespace korvelsim
