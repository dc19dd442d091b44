#include "app/channel_list.h"

#include "platform/string_table.h"
#include "setup/text_format.h"

#include <algorithm>

namespace korvel {

std::vector<ChannelLine> channelLines(const InstrumentTable &table, SpecialEntries special) {
    const std::string dio = resourceString(message::kDioTitle);
    const std::string total = resourceString(message::kTotalizerTitle);
    std::vector<ChannelLine> lines;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        const InstrumentSlot &entry = table.slot(slot);
        if (!entry.inUse) continue;
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            const ChannelSetup &setup = entry.setup->channel(channel);
            if (setup.function == ChannelFunction::Off) continue;
            lines.push_back({channelIdentifier(entry.bcn, channel),
                             formatted("%02u%02d (%s)", entry.bcn, channel, setup.label.c_str())});
        }
        if (special == SpecialEntries::DioAndTotalizer) {
            lines.push_back(
                {channelIdentifier(entry.bcn, kSpyDioChannel), formatted("%02u%s", entry.bcn, dio.c_str())});
            lines.push_back(
                {channelIdentifier(entry.bcn, kSpyTotalizerChannel), formatted("%02u%s", entry.bcn, total.c_str())});
        }
    }
    return lines;
}

std::vector<std::size_t> rowsOf(const std::vector<ChannelLine> &lines, std::span<const std::uint32_t> chosen) {
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        if (std::find(chosen.begin(), chosen.end(), lines[row].identifier) != chosen.end()) rows.push_back(row);
    }
    return rows;
}

std::vector<std::uint32_t> chosenIdentifiers(const std::vector<ChannelLine> &lines,
                                             const std::vector<std::size_t> &selectedRows) {
    std::vector<std::size_t> rows = selectedRows;
    std::sort(rows.begin(), rows.end());
    std::vector<std::uint32_t> identifiers;
    for (const std::size_t row : rows) {
        if (row >= lines.size() || identifiers.size() == kMostChosenChannels) break;
        identifiers.push_back(lines[row].identifier);
    }
    return identifiers;
}

} // namespace korvel
