// The configuration of one instrument as prepared strings: a title, fourteen
// label/value lines and a row of nine columns per defined channel. The setup
// view draws them and the configuration text file lays them out.
#pragma once

#include "platform/regional_formats.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <array>
#include <string>

namespace korvel {

constexpr std::size_t kReportPairs = 14;
constexpr std::size_t kReportColumns = 9;

struct ReportPair {
    std::string label;
    std::string value;
};

// Channel, function, range, alarm 1, alarm 2, trigger, Mx+B, units, label.
using ReportRow = std::array<std::string, kReportColumns>;

struct ConfigurationReport {
    std::string title;
    std::array<ReportPair, kReportPairs> pairs;
    ReportRow headings;
    std::array<ReportRow, kChannelCount> rows; // rows[n - 1] is channel n; empty for an OFF channel
    int rowCount = 0;                          // the non-empty rows

    bool rowShown(int channel) const { return !rows[static_cast<std::size_t>(channel - 1)][1].empty(); }
    const ReportRow &row(int channel) const { return rows[static_cast<std::size_t>(channel - 1)]; }
};

// The report of the instrument in the slot (which must be in use). A Slave
// reports its Master's scan and data-file settings.
ConfigurationReport buildConfigurationReport(const InstrumentTable &table, int slot, const LoggerOptions &options,
                                             const RegionalFormats &formats);

} // namespace korvel
