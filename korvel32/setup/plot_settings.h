// What Quick Plot shows: its scale, sampling interval and up to eight
// channels. The plot window owns them; the setup file carries them.
#pragma once

#include <array>
#include <cstdint>

namespace korvel {

class InstrumentTable;

constexpr std::size_t kPlotChannels = 8;

struct PlotSettings {
    float minimum = -5.0f;
    float maximum = 5.0f;
    std::uint16_t samplingInterval = 1;                  // seconds, 1..3600
    std::uint16_t channelCount = 0;                      // non-zero identifiers
    std::array<std::uint16_t, kPlotChannels> channels{}; // BCN x 100 + channel, 0 empty

    bool operator==(const PlotSettings &) const = default;
};

// Empties every entry whose instrument is not in the table and recounts.
void dropChannelsOfMissingInstruments(PlotSettings &plot, const InstrumentTable &instruments);

} // namespace korvel
