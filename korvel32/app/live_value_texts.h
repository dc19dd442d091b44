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

    // The instrument with this BCN, whose item texts follow; each text holds
    // until the next one is asked for.
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

    // The current instrument: its slot when it logs and has a scan.
    int slot_ = 0;
    std::array<char, kCapacity> text_{};
};

} // namespace korvel
