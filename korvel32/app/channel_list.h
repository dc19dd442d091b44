// The channel lists of the Quick Plot Setup and Spy Channel Selection
// dialogs: for every instrument in use, in slot order, a line
// "%02u%02d (%s)" (BCN, channel, label) for each channel that is not OFF; the
// Spy's list adds each instrument's digital I/O port and totalizer
// ("07DIO", "07TOTAL"). Each line carries its channel identifier, BCN x 100 +
// channel, so that a label never changes what a line stands for.
#pragma once

#include "setup/channel_identifier.h"
#include "setup/instrument_table.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvel {

// The channel numbers of the Spy's two special entries.
inline constexpr int kSpyDioChannel = 31;
inline constexpr int kSpyTotalizerChannel = 32;

// Both dialogs take at most this many of the selected lines.
inline constexpr std::size_t kMostChosenChannels = 8;
inline constexpr const char *kChooseUpToEight = "Use <Ctrl> + Click to select up to 8 channels";

struct ChannelLine {
    std::uint32_t identifier = 0;
    std::string text;

    bool operator==(const ChannelLine &) const = default;
};

enum class SpecialEntries { Without, DioAndTotalizer };

std::vector<ChannelLine> channelLines(const InstrumentTable &table, SpecialEntries special);

// The rows whose identifier is one of the chosen ones.
std::vector<std::size_t> rowsOf(const std::vector<ChannelLine> &lines, std::span<const std::uint32_t> chosen);

// The identifiers of the first kMostChosenChannels selected rows, in list order.
std::vector<std::uint32_t> chosenIdentifiers(const std::vector<ChannelLine> &lines,
                                             const std::vector<std::size_t> &selectedRows);

} // namespace korvel
