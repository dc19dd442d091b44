// What the live-values items say: the System topic's lists, and an
// instrument's values from the newest scan of its run, in the same texts as
// its .csv data file (serial date, value texts with the regional decimal
// symbol); the scan time of an instrument logging into Trend Link is the
// time its data set stores. An instrument that does not log, has no scan yet in this run, or a
// channel that is OFF, says "0".
#pragma once

#include "app/live_value_names.h"
#include "datafiles/serial_date.h"
#include "platform/value_text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

class InstrumentTable;
class LoggingEngine;
struct RegionalFormats;
class TrendLinkLibrary;

class LiveValueTexts {
public:
    LiveValueTexts(const InstrumentTable &table, const RegionalFormats &regional, TrendLinkLibrary &trendLinkLibrary)
            : table_(table), regional_(regional), trendLinkLibrary_(trendLinkLibrary) {}

    // The runs the values come from; nullptr while there are none.
    void attach(LoggingEngine *engine);

    // The text of an item of the System topic.
    std::string systemText(LiveItem item) const;

    // Starts a fresh set of the texts of the instrument with this BCN, each
    // made once when first asked for, so that every client of one update
    // gets the same texts for the price of one.
    void beginInstrument(int bcn);
    std::string_view instrumentText(LiveItem item);

private:
    // Room for the longest text with its zero.
    static constexpr std::size_t kCapacity = std::max(kSerialDateCapacity, kValueTextCapacity);

    std::size_t write(LiveItem item, char *out);
    std::size_t writeDateTime(char *out);
    std::size_t writeChannel(int channel, char *out) const;

    const InstrumentTable &table_;
    const RegionalFormats &regional_;
    TrendLinkLibrary &trendLinkLibrary_;
    LoggingEngine *engine_ = nullptr;
    std::optional<ValueTexts> values_; // with the decimal symbol start-up has read

    // The instrument of the current set: its slot when it logs and has a scan.
    int slot_ = 0;
    std::array<std::array<char, kCapacity>, kLiveItemsPerInstrument> texts_{};
    std::array<std::size_t, kLiveItemsPerInstrument> lengths_{}; // 0: not made yet
};

} // namespace korvel
