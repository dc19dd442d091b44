// One channel's row of the configuration report.
#pragma once

#include "setup/configuration_report.h"

#include <string>

namespace korvel {

// The words for a flag: "ON" and "OFF", or "Yes" and "No" when the longer of
// the first pair would not fit its column.
struct OnOffWords {
    std::string on;
    std::string off;
};
OnOffWords reportOnOffWords();

struct ChannelRowContext {
    unsigned bcn = 0;
    bool slave = false;
    TriggerType triggerType = TriggerType::Interval; // of the settings that scan the instrument
    OnOffWords words;
};

// The nine strings of a defined channel.
ReportRow channelRow(const ChannelRowContext &context, int channel, const ChannelSetup &setup);

} // namespace korvel
