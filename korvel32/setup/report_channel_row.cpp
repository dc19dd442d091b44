#include "setup/report_channel_row.h"

#include "platform/string_table.h"
#include "setup/channel_identifier.h"
#include "setup/text_format.h"
#include "setup/trigger_parts.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr int kOnWord = 1265;
constexpr int kOffWord = 1264;
constexpr int kYesWord = 1274;
constexpr int kNoWord = 1275;
constexpr int kNotApplicable = 1276;
constexpr std::size_t kLongestOnOffWord = 4;

constexpr std::size_t kAnalogFunctionLength = 9;
constexpr std::size_t kComputedFunctionLength = 22;
constexpr std::size_t kRangeLength = 12;
constexpr std::size_t kAlarmLength = 10;
constexpr std::size_t kAlarmWithOutputSenseLength = 5;
constexpr std::size_t kTriggerLength = 4;
constexpr std::size_t kMxbLength = 8;

std::string codeText(std::uint16_t code) { return resourceString(code); }

std::string functionText(const ChannelRowContext &context, int channel, const ChannelSetup &setup) {
    std::string text;
    switch (setup.function) {
        case ChannelFunction::Thermocouple: text = "TC"; break;
        case ChannelFunction::ChanAMinusChanB:
            text = formatted("%04u - %04u", channelIdentifier(context.bcn, setup.channelA),
                             channelIdentifier(context.bcn, setup.channelB));
            break;
        case ChannelFunction::ChanAMinusAverage:
            text = formatted("%04u - %s", channelIdentifier(context.bcn, setup.channelA),
                             codeText(codeValue(ChannelFunction::Average)).c_str());
            break;
        default: text = codeText(codeValue(setup.function)); break;
    }
    return cut(text, isComputedChannel(channel) ? kComputedFunctionLength : kAnalogFunctionLength);
}

// The 150/300 V range reads as what the channel can really take: channels 1
// and 11 are the 300 V inputs.
std::string rangeText(int channel, const ChannelSetup &setup) {
    if (isComputedChannel(channel)) return {};
    if (setup.range == RangeCode::Vdc150_300V || setup.range == RangeCode::Vac150_300V) {
        return channel == 1 || channel == 11 ? "300 V" : "150 V";
    }
    return cut(codeText(codeValue(setup.range)), kRangeLength);
}

std::string alarmText(const AlarmSetup &alarm) {
    const std::string sense = codeText(codeValue(alarm.sense));
    if (alarm.sense == AlarmSense::Off || alarm.output == AlarmOutput::None) return cut(sense, kAlarmLength);
    return cut(sense, kAlarmWithOutputSenseLength) + "->" + codeText(codeValue(alarm.output));
}

std::string triggerText(const ChannelRowContext &context, const ChannelSetup &setup) {
    const bool alarmsOff = setup.alarm1.sense == AlarmSense::Off && setup.alarm2.sense == AlarmSense::Off;
    if (context.slave || !triggerParts(context.triggerType).alarm || alarmsOff) {
        return cut(resourceString(kNotApplicable), kTriggerLength);
    }
    return cut(setup.alarmTrigger ? context.words.on : context.words.off, kTriggerLength);
}

} // namespace

OnOffWords reportOnOffWords() {
    OnOffWords words{resourceString(kOnWord), resourceString(kOffWord)};
    if (std::max(words.on.size(), words.off.size()) > kLongestOnOffWord) {
        words = {resourceString(kYesWord), resourceString(kNoWord)};
    }
    return words;
}

ReportRow channelRow(const ChannelRowContext &context, int channel, const ChannelSetup &setup) {
    return {
        formatted("%04u", channelIdentifier(context.bcn, channel)),
        functionText(context, channel, setup),
        rangeText(channel, setup),
        alarmText(setup.alarm1),
        alarmText(setup.alarm2),
        triggerText(context, setup),
        cut(setup.mxbEnabled ? context.words.on : context.words.off, kMxbLength),
        setup.unitsLabel,
        setup.label,
    };
}

} // namespace korvel
