// Quick Plot's samples: for each of the plot's 8 channel entries the last 40
// samples, taken together from the latest scan of each entry's instrument.
// A sample is a level from the plot's minimum (0) to its maximum (32760), or
// a mark for a reading above or below the plot, and is valid only when the
// instrument logged and had a scan: a channel that is not logging leaves a
// gap, never a stale value.
#pragma once

#include "platform/value_text.h"
#include "setup/instrument_table.h"
#include "setup/plot_settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class LoggingEngine;

inline constexpr int kPlotPositions = 40;
inline constexpr std::int16_t kTopLevel = 32760;
inline constexpr std::int16_t kAbovePlot = -1; // above the maximum, a positive overload or an open thermocouple
inline constexpr std::int16_t kBelowPlot = -2; // below the minimum or a negative overload

struct PlotSample {
    std::int16_t level = 0;
    bool valid = false;
};

struct PlotEntry {
    std::array<PlotSample, kPlotPositions> samples{};
    bool inAlarm = false; // in alarm 1 or alarm 2 at the newest sample
    std::string reading;  // the newest reading as the readings window shows it
    std::string label;
    std::string units;
};

// The level of a reading on a plot from minimum to maximum.
std::int16_t plotLevel(float reading, float minimum, float maximum);

class QuickPlotRing {
public:
    QuickPlotRing(PlotSettings &settings, const InstrumentTable &table, const LoggingEngine &engine,
                  char decimalSymbol);

    // Advances the ring and samples every entry at the new position. True
    // when the picture shows something new: a valid sample now, or the first
    // gap after one (the legend turns to "NA").
    bool takeSample();
    // The settings changed: everything starts over with one sample at
    // position 0, the labels and units read again.
    void restart();

    // The instrument's configuration changed: its entries whose channel is
    // now OFF leave the plot, and labels and units are read again.
    void configurationChanged(int slot);
    // The instrument left the setup: its entries leave the plot.
    void instrumentRemoved(unsigned bcn);
    void bcnChanged(unsigned oldBcn, unsigned newBcn);

    const PlotSettings &settings() const { return settings_; }
    int newest() const { return newest_; }
    int oldest() const { return (newest_ + 1) % kPlotPositions; }
    // Entry i stands for the settings' channel i (0 when empty).
    const PlotEntry &entry(std::size_t index) const { return entries_.at(index); }
    // The entry's sample step places after the oldest: 0 is the oldest,
    // kPlotPositions - 1 the newest.
    const PlotSample &sampleAt(std::size_t index, int step) const;
    const PlotSample &newestSample(std::size_t index) const { return sampleAt(index, kPlotPositions - 1); }
    bool anyValidSample() const;

private:
    void sample(int position);
    void sampleEntry(std::size_t index, int position);
    bool anyValidAt(int position) const;
    void readLabels();
    void emptyEntry(std::size_t index);

    PlotSettings &settings_;
    const InstrumentTable &table_;
    const LoggingEngine &engine_;
    ValueTexts texts_;
    int newest_ = 0;
    std::array<PlotEntry, kPlotChannels> entries_{};
};

} // namespace korvel
