#include "datafiles/trend_link_tags.h"

#include "datafiles/trend_link_names.h"
#include "setup/scan_fields.h"

#include <algorithm>
#include <cmath>

namespace korvel {
namespace {

// Markers the chart program and the exports know for the special readings.
constexpr float kOpenThermocoupleValue = 9.0e9f;
constexpr float kOverloadValue = 1.0e9f;

float storedReading(float reading) {
    if (std::isnan(reading)) return kOpenThermocoupleValue;
    if (std::isinf(reading)) return reading > 0 ? kOverloadValue : -kOverloadValue;
    return reading;
}

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
        tags.push_back({furtherTagName(part.bcn, tag), furtherTagDescription(tag), ""});
    return tags;
}

float *scanValues(const ScanRecord &scan, std::size_t channels, float *out) {
    for (std::size_t channel = 0; channel < channels; ++channel) *out++ = storedReading(scan.readings[channel]);
    *out++ = scanDigitalIo(scan);
    *out++ = static_cast<float>(scan.totalizer);
    *out++ = static_cast<float>(scan.alarm1);
    *out++ = static_cast<float>(scan.alarm2);
    return out;
}

} // namespace korvel
