#include "app/quick_plot_ring.h"

#include "app/channel_list.h"
#include "app/live_scans.h"

#include <bit>
#include <cmath>

namespace korvel {

namespace {

constexpr std::uint32_t kNegativeOverload = 0xFF800000U;

// The slot of the entry's instrument, 0 when the setup has none or the
// identifier names no channel (a damaged setup file may hold one).
int slotOf(const InstrumentTable &table, std::uint16_t identifier) {
    const int channel = channelOf(identifier);
    if (identifier == 0 || channel < 1 || channel > kChannelCount) return 0;
    return table.find(bcnOf(identifier));
}

} // namespace

std::int16_t plotLevel(float reading, float minimum, float maximum) {
    // Infinities and the open thermocouple's NaN are marks, not values.
    if (std::bit_cast<std::uint32_t>(reading) == kNegativeOverload) return kBelowPlot;
    if (std::isnan(reading) || std::isinf(reading)) return kAbovePlot;
    if (reading < minimum) return kBelowPlot;
    if (reading > maximum) return kAbovePlot;
    // Settings whose bounds meet in single precision have no height to share.
    if (maximum <= minimum) return 0;
    const double share = (static_cast<double>(reading) - minimum) / (static_cast<double>(maximum) - minimum);
    return static_cast<std::int16_t>(share * kTopLevel);
}

QuickPlotRing::QuickPlotRing(PlotSettings &settings, const InstrumentTable &table, const LoggingEngine &engine,
                             char decimalSymbol)
        : settings_(settings), table_(table), engine_(engine), texts_(decimalSymbol, ValueStyle::Display) {}

bool QuickPlotRing::takeSample() {
    const int previous = newest_;
    newest_ = (newest_ + 1) % kPlotPositions;
    sample(newest_);
    return anyValidAt(newest_) || anyValidAt(previous);
}

void QuickPlotRing::restart() {
    newest_ = 0;
    for (PlotEntry &entry : entries_) entry = PlotEntry{};
    sample(newest_);
    readLabels();
}

void QuickPlotRing::sample(int position) {
    for (std::size_t index = 0; index < kPlotChannels; ++index) {
        if (settings_.channels[index] != 0) sampleEntry(index, position);
    }
}

void QuickPlotRing::sampleEntry(std::size_t index, int position) {
    PlotEntry &entry = entries_[index];
    PlotSample &sample = entry.samples[static_cast<std::size_t>(position)];
    sample = PlotSample{};
    entry.inAlarm = false;
    const std::uint16_t identifier = settings_.channels[index];
    const int slot = slotOf(table_, identifier);
    if (slot == 0) return;
    const ScanRecord *scan = latestScanOf(engine_, slot);
    const int channel = channelOf(identifier);
    const int reading = scan != nullptr ? readingIndex(*table_.slot(slot).setup, channel) : -1;
    if (reading < 0) return;
    const float value = scan->readings[reading];
    sample = {plotLevel(value, settings_.minimum, settings_.maximum), true};
    char text[kValueTextCapacity];
    entry.reading.assign(text, texts_.write(value, text));
    const std::uint32_t bit = std::uint32_t{1} << (channel - 1);
    entry.inAlarm = ((scan->alarm1 | scan->alarm2) & bit) != 0;
}

void QuickPlotRing::configurationChanged(int slot) {
    const InstrumentSlot &instrument = table_.slot(slot);
    if (instrument.inUse) {
        for (std::size_t index = 0; index < kPlotChannels; ++index) {
            const std::uint16_t identifier = settings_.channels[index];
            if (slotOf(table_, identifier) == slot &&
                instrument.setup->channel(channelOf(identifier)).function == ChannelFunction::Off)
                emptyEntry(index);
        }
    }
    readLabels();
}

void QuickPlotRing::instrumentRemoved(unsigned bcn) {
    for (std::size_t index = 0; index < kPlotChannels; ++index) {
        if (settings_.channels[index] != 0 && bcnOf(settings_.channels[index]) == bcn) emptyEntry(index);
    }
}

void QuickPlotRing::bcnChanged(unsigned oldBcn, unsigned newBcn) {
    for (std::uint16_t &identifier : settings_.channels) {
        if (identifier != 0 && bcnOf(identifier) == oldBcn)
            identifier = static_cast<std::uint16_t>(channelIdentifier(newBcn, channelOf(identifier)));
    }
}

void QuickPlotRing::emptyEntry(std::size_t index) {
    settings_.channels[index] = 0;
    if (settings_.channelCount > 0) --settings_.channelCount;
}

void QuickPlotRing::readLabels() {
    for (std::size_t index = 0; index < kPlotChannels; ++index) {
        PlotEntry &entry = entries_[index];
        entry.label.clear();
        entry.units.clear();
        const std::uint16_t identifier = settings_.channels[index];
        const int slot = slotOf(table_, identifier);
        if (slot == 0) continue;
        const ChannelSetup &channel = table_.slot(slot).setup->channel(channelOf(identifier));
        entry.label = channel.label;
        entry.units = channel.unitsLabel;
    }
}

const PlotSample &QuickPlotRing::sampleAt(std::size_t index, int step) const {
    return entries_.at(index).samples[static_cast<std::size_t>((oldest() + step) % kPlotPositions)];
}

bool QuickPlotRing::anyValidAt(int position) const {
    for (std::size_t index = 0; index < kPlotChannels; ++index) {
        if (settings_.channels[index] != 0 && entries_[index].samples[static_cast<std::size_t>(position)].valid)
            return true;
    }
    return false;
}

bool QuickPlotRing::anyValidSample() const {
    for (int position = 0; position < kPlotPositions; ++position) {
        if (anyValidAt(position)) return true;
    }
    return false;
}

} // namespace korvel
