// Which channels an instrument's scan records carry and what the user calls
// them, as the logger last told the add-on.
#pragma once

#include "qpext32.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qpext32 {

inline constexpr int kChannels = QPEXT32_CHANNELS;
inline constexpr std::uint32_t kScanHeaderBytes = QPEXT32_SCAN_HEADER;

struct ChannelLayout {
    std::uint32_t defined = 0; // bit n-1: channel n is not OFF
    std::array<std::string, kChannels> labels;
    std::array<std::string, kChannels> units;

    // The channel numbers of a record's readings, channel 1 first.
    std::vector<int> channels() const;
    std::uint32_t recordSize() const;
};

// The layout from the logger's arrays; texts are cut at 64 bytes and lose
// control characters, so that no label can break a line of the protocol.
ChannelLayout channelLayout(std::uint32_t defined, const char *const labels[], const char *const units[]);

// The CSV header of scans of recordSize bytes: "Time", a column per reading
// named by its label and units ("Reading n" when the layout does not fit
// records of that size), then "DIO", "Totalizer", "Alarm1", "Alarm2".
std::string columnsCsv(const ChannelLayout &layout, std::uint32_t recordSize);

} // namespace qpext32
