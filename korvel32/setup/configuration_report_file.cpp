#include "setup/configuration_report_file.h"

#include "platform/string_table.h"
#include "setup/text_format.h"

#include <fstream>
#include <initializer_list>
#include <utility>

namespace korvel {

namespace {

// The columns of a line, each filled out to its width; the last one is not.
std::string columnsLine(const ReportRow &row, std::initializer_list<std::pair<std::size_t, std::size_t>> columns,
                        std::size_t last) {
    std::string line;
    for (const auto &[column, width] : columns) line += padded(row[column], width);
    return line + row[last] + "\r\n";
}

// Analog rows and the headings have all nine columns; computed rows have no
// range, so their function column is wide enough for "%04u - %04u".
std::string analogLine(const ReportRow &row) {
    return columnsLine(row, {{0, 6}, {1, 11}, {2, 13}, {3, 13}, {4, 13}, {5, 7}, {6, 7}, {7, 13}}, 8);
}

std::string computedLine(const ReportRow &row) {
    return columnsLine(row, {{0, 6}, {1, 24}, {3, 13}, {4, 13}, {5, 7}, {6, 7}, {7, 13}}, 8);
}

} // namespace

std::string configurationReportText(const ConfigurationReport &report) {
    std::string text = report.title + "\r\n\r\n";
    for (const ReportPair &pair : report.pairs) text += padded(pair.label, 19) + pair.value + "\r\n";
    text += "\r\n" + analogLine(report.headings);
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (!report.rowShown(channel)) continue;
        text += isComputedChannel(channel) ? computedLine(report.row(channel)) : analogLine(report.row(channel));
    }
    return text;
}

bool saveConfigurationReport(const std::string &path, const ConfigurationReport &report, UserInterface &ui) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        showError(ui, message::kCannotCreateReport);
        return false;
    }
    BusyCursor busy(ui);
    const std::string text = configurationReportText(report);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.flush();
    if (!file) {
        showError(ui, message::kCannotWriteReport);
        return false;
    }
    return true;
}

} // namespace korvel
