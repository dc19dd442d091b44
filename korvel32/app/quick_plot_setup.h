// The Quick Plot Setup dialog: the channels to plot, the plot's maximum and
// minimum and its sampling interval, on a copy of the plot settings that OK
// checks in order and then fills in.
#pragma once

#include "app/channel_list.h"
#include "setup/dialog_numbers.h"
#include "setup/dialog_refusal.h"
#include "setup/plot_settings.h"

#include <cstddef>
#include <string>
#include <vector>

namespace korvel {

enum class PlotSetupControl { Channels, Maximum, Minimum, Interval };

inline constexpr const char *kInvalidPlotMaximum = "Invalid Plot Maximum Value!";
inline constexpr const char *kInvalidPlotMinimum = "Invalid Plot Minimum Value!";
inline constexpr const char *kPlotRangeReversed = "Plot Maximum must be larger than Plot Minimum!";
inline constexpr const char *kSamplingIntervalRange = "Sampling interval must range from 1 to 3600 seconds!";

class QuickPlotSetupModel {
public:
    static constexpr std::size_t kNumberTextLimit = 20;
    static constexpr std::size_t kIntervalTextLimit = 4;

    QuickPlotSetupModel(const PlotSettings &settings, const InstrumentTable &table, char decimalSymbol);

    const std::vector<ChannelLine> &lines() const { return lines_; }
    // The lines of the channels plotted now; the caret goes to the first.
    const std::vector<std::size_t> &initialSelection() const { return initialSelection_; }

    const std::string &maximumText() const { return maximum_.text(); }
    const std::string &minimumText() const { return minimum_.text(); }
    const std::string &intervalText() const { return interval_; }
    void setMaximumText(std::string text) { maximum_.setText(std::move(text)); }
    void setMinimumText(std::string text) { minimum_.setText(std::move(text)); }
    void setIntervalText(std::string text) { interval_ = std::move(text); }

    // OK with these rows selected: the first refusal, or nothing when the
    // settings now hold the entries and the first 8 selected channels.
    Checked<PlotSetupControl> accept(const std::vector<std::size_t> &selectedRows);
    const PlotSettings &settings() const { return settings_; }

private:
    PlotSettings settings_;
    char decimalSymbol_;
    std::vector<ChannelLine> lines_;
    std::vector<std::size_t> initialSelection_;
    NumberField maximum_;
    NumberField minimum_;
    std::string interval_;
};

} // namespace korvel
