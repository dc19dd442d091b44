#include "logging/simulated_scan.h"

#include "logging/instrument_time.h"

#include <array>

namespace korvel {
namespace {

constexpr int kTableRows = 5;
constexpr int kTableColumns = 60;
constexpr std::uint32_t kAllDioLinesHigh = 0xFF0000;

// Fixed pseudo-random bytes, the same in every run of the program.
constexpr std::array<std::array<std::uint8_t, kTableColumns>, kTableRows> makeTable() {
    std::array<std::array<std::uint8_t, kTableColumns>, kTableRows> table{};
    std::uint32_t state = 12345;
    for (auto &row : table) {
        for (auto &byte : row) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(state >> 16);
        }
    }
    return table;
}

constexpr auto kTable = makeTable();

// The full scale of a range; 0 for one that has none of its own.
double rangeScale(ChannelFunction function, RangeCode range) {
    switch (function) {
        case ChannelFunction::Vdc:
        case ChannelFunction::Vac:
            switch (range) {
                case RangeCode::Auto:
                case RangeCode::Vdc300mV:
                case RangeCode::Vac300mV: return 0.3;
                case RangeCode::Vdc90mV: return 0.09;
                case RangeCode::Vdc3V:
                case RangeCode::Vac3V: return 3.0;
                case RangeCode::Vdc30V:
                case RangeCode::Vdc50V:
                case RangeCode::Vac30V: return 30.0;
                case RangeCode::Vdc150_300V:
                case RangeCode::Vac150_300V: return 150.0;
                default: return 0.0;
            }
        case ChannelFunction::Ohms2W:
        case ChannelFunction::Ohms4W:
            switch (range) {
                case RangeCode::Auto:
                case RangeCode::Ohms300: return 300.0;
                case RangeCode::Ohms3k: return 3000.0;
                case RangeCode::Ohms30k: return 30000.0;
                case RangeCode::Ohms300k: return 300000.0;
                case RangeCode::Ohms3M: return 3000000.0;
                default: return 0.0;
            }
        case ChannelFunction::Current:
            if (range == RangeCode::Current4to20mA) return 100.0;
            if (range == RangeCode::Current0to100mA) return 0.1;
            return 0.0;
        default: return 0.0;
    }
}

class SimulatedReadings {
public:
    SimulatedReadings(int slot, std::int64_t now) : slot_(slot), now_(now) {}

    float next(int channel, const ChannelSetup &setup) {
        const double w = fraction(channel);
        // A range without a scale of its own keeps the one before it.
        if (const double own = rangeScale(setup.function, setup.range); own != 0.0) scale_ = own;
        switch (setup.function) {
            case ChannelFunction::Vdc:
            case ChannelFunction::Vac: return static_cast<float>((2.0 * w - 1.0) * scale_);
            case ChannelFunction::Ohms2W:
            case ChannelFunction::Ohms4W:
            case ChannelFunction::Current: return static_cast<float>(w * scale_);
            case ChannelFunction::Thermocouple:
            case ChannelFunction::Rtd2W:
            case ChannelFunction::Rtd4W: return static_cast<float>(w * 100.0);
            case ChannelFunction::Freq: return static_cast<float>(w * 900.0);
            default: return 0.0f;
        }
    }

private:
    double fraction(int channel) const {
        const auto column = (channel + now_ + 4 * slot_) % kTableColumns;
        const auto &row = kTable[static_cast<std::size_t>((channel - 1) % kTableRows)];
        return row[static_cast<std::size_t>(column)] / 255.0;
    }

    int slot_;
    std::int64_t now_;
    double scale_ = 3.0;
};

} // namespace

void simulateScan(ScanBuffer &buffer, std::int64_t &simulationClock, bool runHasData, const InstrumentSetup &setup,
                  double interval, int slot, CalendarTime now) {
    if (!runHasData || now.seconds < simulationClock) simulationClock = 0;
    const auto wholeInterval = static_cast<std::int64_t>(interval);
    const bool due = now.seconds >= simulationClock + wholeInterval && now.seconds >= simulationClock + 1;
    const auto recordSize = static_cast<std::int32_t>(scanRecordSize(setup));
    if (!due) {
        buffer.setHeader({recordSize, 0, 0});
        return;
    }
    simulationClock = now.seconds;

    ScanRecord scan{};
    scan.time = instrumentTimeOf(now.seconds);
    scan.msAndDio = now.milliseconds + kAllDioLinesHigh;
    SimulatedReadings readings(slot, now.seconds);
    int present = 0;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const ChannelSetup &channelSetup = setup.channel(channel);
        if (channelSetup.function == ChannelFunction::Off) continue;
        scan.readings[present++] = readings.next(channel, channelSetup);
    }
    buffer.setHeader({recordSize, 1, 0});
    buffer.setRecord(0, scan);
}

} // namespace korvel
