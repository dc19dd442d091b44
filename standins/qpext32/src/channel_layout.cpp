#include "channel_layout.h"

#include <bit>

namespace qpext32 {
namespace {

constexpr std::size_t kLabelLimit = 64;

std::string cleanText(const char *text) {
    std::string clean;
    if (!text) return clean;
    for (; *text && clean.size() < kLabelLimit; ++text)
        clean.push_back(static_cast<unsigned char>(*text) < 0x20 || *text == 0x7F ? ' ' : *text);
    return clean;
}

// A CSV field: quoted when it holds a separator or a quote.
void appendField(std::string &out, const std::string &field) {
    out.push_back(',');
    if (field.find_first_of(",\"") == std::string::npos) {
        out += field;
        return;
    }
    out.push_back('"');
    for (char c : field) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

} // namespace

std::vector<int> ChannelLayout::channels() const {
    std::vector<int> numbers;
    for (int channel = 1; channel <= kChannels; ++channel)
        if (defined & (1u << (channel - 1))) numbers.push_back(channel);
    return numbers;
}

std::uint32_t ChannelLayout::recordSize() const {
    return kScanHeaderBytes + 4 * static_cast<std::uint32_t>(std::popcount(defined & ((1u << kChannels) - 1)));
}

ChannelLayout channelLayout(std::uint32_t defined, const char *const labels[], const char *const units[]) {
    ChannelLayout layout;
    layout.defined = defined & ((1u << kChannels) - 1);
    for (int i = 0; i < kChannels; ++i) {
        if (!(layout.defined & (1u << i))) continue;
        layout.labels[i] = cleanText(labels ? labels[i] : nullptr);
        layout.units[i] = cleanText(units ? units[i] : nullptr);
    }
    return layout;
}

std::string columnsCsv(const ChannelLayout &layout, std::uint32_t recordSize) {
    std::string csv = "Time";
    const std::uint32_t readings = (recordSize - kScanHeaderBytes) / 4;
    if (layout.recordSize() == recordSize) {
        for (int channel : layout.channels()) {
            std::string name = layout.labels[channel - 1];
            if (name.empty()) name = "Channel " + std::to_string(channel);
            if (!layout.units[channel - 1].empty()) name += " (" + layout.units[channel - 1] + ")";
            appendField(csv, name);
        }
    } else {
        for (std::uint32_t i = 1; i <= readings; ++i) appendField(csv, "Reading " + std::to_string(i));
    }
    csv += ",DIO,Totalizer,Alarm1,Alarm2";
    return csv;
}

} // namespace qpext32
