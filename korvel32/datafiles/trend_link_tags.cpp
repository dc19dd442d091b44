#include "datafiles/trend_link_tags.h"

#include "datafiles/trend_link_names.h"

#include <algorithm>

namespace korvel {
namespace {

// A HI alarm's value is the high limit; of two, the one reached first.
double highLimit(const ChannelSetup &channel) {
    double high = kNoTagLimit;
    for (const AlarmSetup *alarm : {&channel.alarm1, &channel.alarm2}) {
        if (alarm->sense == AlarmSense::Hi) high = std::min(high, alarm->value);
    }
    return high;
}

// A LO alarm's value is the low limit; of two, the one reached first.
double lowLimit(const ChannelSetup &channel) {
    double low = -kNoTagLimit;
    for (const AlarmSetup *alarm : {&channel.alarm1, &channel.alarm2}) {
        if (alarm->sense == AlarmSense::Lo) low = std::max(low, alarm->value);
    }
    return low;
}

} // namespace

std::vector<TrendLinkTag> instrumentTags(const InstrumentPart &part) {
    std::vector<TrendLinkTag> tags;
    tags.reserve(part.channels.size() + std::size(kFurtherTags));
    for (const int number : part.channels) {
        const ChannelSetup &channel = part.setup->channel(number);
        tags.push_back({channelTagName(part.bcn, number), channel.label, channel.unitsLabel, highLimit(channel),
                        lowLimit(channel), channel.deadband});
    }
    for (const FurtherTag tag : kFurtherTags)
        tags.push_back({furtherTagName(part.bcn, tag), furtherTagDescription(tag), "", kNoTagLimit, -kNoTagLimit, 0.0});
    return tags;
}

} // namespace korvel
