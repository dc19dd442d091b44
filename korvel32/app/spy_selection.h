// The Spy's channels: up to 8 identifiers kept for as long as the program
// runs (not with the setup), chosen in the Spy Channel Selection dialog from
// the channels, digital I/O ports and totalizers of the setup's instruments.
#pragma once

#include "app/channel_list.h"
#include "setup/dialog_refusal.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

// BCN x 100 + channel (1..30), + 31 for the digital I/O port, + 32 for the
// totalizer; 0 for an empty entry.
using SpyChannelList = std::array<std::uint32_t, kMostChosenChannels>;

enum class SpySelectionControl { Channels };

inline constexpr const char *kSelectSpyChannel = "Select at least one spy channel!";

class SpySelectionModel {
public:
    SpySelectionModel(const InstrumentTable &table, const SpyChannelList &current);

    const std::vector<ChannelLine> &lines() const { return lines_; }
    // The lines of the current list; the first line when none of them is listed.
    const std::vector<std::size_t> &initialSelection() const { return initialSelection_; }

    // OK: refused without a selected line, else the first 8 selected lines
    // become the list.
    Checked<SpySelectionControl> accept(const std::vector<std::size_t> &selectedRows);
    const SpyChannelList &chosen() const { return chosen_; }

private:
    std::vector<ChannelLine> lines_;
    std::vector<std::size_t> initialSelection_;
    SpyChannelList chosen_{};
};

} // namespace korvel
