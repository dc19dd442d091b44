// The current readings window: the latest scan of the selected instrument,
// one line per channel 1 to 30 (an empty line for an OFF channel, so that the
// lines below it stay with their channels), then the digital I/O byte and the
// totalizer, beside a column of channel identifiers and one of units.
#pragma once

#include "platform/value_text.h"
#include "setup/instrument_table.h"

#include <string>
#include <vector>

namespace korvel {

class LoggingEngine;

class CurrentReadingsModel {
public:
    CurrentReadingsModel(const InstrumentTable &table, const LoggingEngine &engine, char decimalSymbol);

    // The selection changed or the window was shown: "Readings - %02u", the
    // identifiers, blank readings and units; the readings follow at once when
    // the instrument logs.
    void refill(int selectedSlot);
    // The selected instrument delivered a new scan. False when there is
    // nothing to show (no instrument selected, or it holds no scan).
    bool update();
    // The instrument's configuration changed: its units are read again with
    // the next readings.
    void configurationChanged(int slot);

    int slot() const { return slot_; }
    const std::string &caption() const { return caption_; }
    const std::vector<std::string> &channelLines() const { return channels_; }
    const std::vector<std::string> &readingLines() const { return readings_; }
    const std::vector<std::string> &unitsLines() const { return units_; }

private:
    const InstrumentTable &table_;
    const LoggingEngine &engine_;
    ValueTexts texts_;
    int slot_ = 0;
    bool unitsNeedRefresh_ = false;
    std::string caption_;
    std::vector<std::string> channels_;
    std::vector<std::string> readings_;
    std::vector<std::string> units_;
};

} // namespace korvel
