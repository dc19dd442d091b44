#include "setup/setup_template.h"

#include "platform/string_table.h"

namespace korvel {

namespace {

constexpr int kLabelStringId = 968;
constexpr int kVdcStringId = 97;
constexpr int kDefaultVdcChannels = 3;

// The template texts were sized for 16 and 10 characters.
constexpr std::size_t kTemplateLabelLength = 16;
constexpr std::size_t kTemplateUnitsLength = 10;

} // namespace

void SetupTemplate::complete(const std::string &channelLabel, const std::string &vdcUnits) {
    const std::string label = channelLabel.substr(0, kTemplateLabelLength);
    offChannel.label = label;
    for (ChannelSetup &channel : defaultSetup.channels) channel.label = label;
    for (int number = 1; number <= kDefaultVdcChannels; ++number) {
        ChannelSetup &channel = defaultSetup.channel(number);
        channel.function = ChannelFunction::Vdc;
        channel.range = RangeCode::Vdc3V;
        channel.unitsLabel = vdcUnits.substr(0, kTemplateUnitsLength);
    }
}

void SetupTemplate::completeFromStringTable() {
    complete(resourceString(kLabelStringId), resourceString(kVdcStringId));
}

} // namespace korvel
