#include "app/quick_plot_setup.h"

#include <span>

namespace korvel {

namespace {

constexpr double kLargestPlotValue = 9999900000.0;
constexpr double kNarrowestRange = 1e-8;
constexpr unsigned long kLongestInterval = 3600;

Refusal<PlotSetupControl> refusal(const char *text, PlotSetupControl focus) { return {0, text, focus}; }

} // namespace

QuickPlotSetupModel::QuickPlotSetupModel(const PlotSettings &settings, const InstrumentTable &table, char decimalSymbol)
        : settings_(settings), decimalSymbol_(decimalSymbol), lines_(channelLines(table, SpecialEntries::Without)),
          maximum_(settings.maximum, gText(settings.maximum, decimalSymbol)),
          minimum_(settings.minimum, gText(settings.minimum, decimalSymbol)),
          interval_(std::to_string(settings.samplingInterval)) {
    std::vector<std::uint32_t> plotted(settings.channels.begin(), settings.channels.end());
    std::erase(plotted, 0U);
    initialSelection_ = rowsOf(lines_, plotted);
}

Checked<PlotSetupControl> QuickPlotSetupModel::accept(const std::vector<std::size_t> &selectedRows) {
    if (!maximum_.within(-kLargestPlotValue, kLargestPlotValue, decimalSymbol_))
        return refusal(kInvalidPlotMaximum, PlotSetupControl::Maximum);
    if (!minimum_.within(-kLargestPlotValue, kLargestPlotValue, decimalSymbol_))
        return refusal(kInvalidPlotMinimum, PlotSetupControl::Minimum);
    const double maximum = maximum_.value(decimalSymbol_);
    const double minimum = minimum_.value(decimalSymbol_);
    if (maximum - minimum < kNarrowestRange) return refusal(kPlotRangeReversed, PlotSetupControl::Maximum);
    const auto interval = typedWholeNumber(interval_);
    if (!interval || *interval < 1 || *interval > kLongestInterval)
        return refusal(kSamplingIntervalRange, PlotSetupControl::Interval);

    settings_.maximum = static_cast<float>(maximum);
    settings_.minimum = static_cast<float>(minimum);
    settings_.samplingInterval = static_cast<std::uint16_t>(*interval);
    const std::vector<std::uint32_t> chosen = chosenIdentifiers(lines_, selectedRows);
    settings_.channels.fill(0);
    for (std::size_t entry = 0; entry < chosen.size(); ++entry)
        settings_.channels[entry] = static_cast<std::uint16_t>(chosen[entry]);
    settings_.channelCount = static_cast<std::uint16_t>(chosen.size());
    return std::nullopt;
}

} // namespace korvel
