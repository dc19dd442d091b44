#include "setup/configuration_report_file.h"

#include "platform/string_table.h"
#include "setup/text_format.h"

#include <fstream>

namespace korvel {

namespace {

constexpr int kCannotCreateMessage = 42;
constexpr int kCannotWriteMessage = 43;

// Analog rows and the headings have all nine columns; computed rows have no
// range, so their function column is wide enough for "%04u - %04u".
std::string analogLine(const ReportRow &row) {
    return formatted("%-6s%-11s%-13s%-13s%-13s%-7s%-7s%-13s%s\r\n", row[0].c_str(), row[1].c_str(), row[2].c_str(),
                     row[3].c_str(), row[4].c_str(), row[5].c_str(), row[6].c_str(), row[7].c_str(), row[8].c_str());
}

std::string computedLine(const ReportRow &row) {
    return formatted("%-6s%-24s%-13s%-13s%-7s%-7s%-13s%s\r\n", row[0].c_str(), row[1].c_str(), row[3].c_str(),
                     row[4].c_str(), row[5].c_str(), row[6].c_str(), row[7].c_str(), row[8].c_str());
}

} // namespace

std::string configurationReportText(const ConfigurationReport &report) {
    std::string text = report.title + "\r\n\r\n";
    for (const ReportPair &pair : report.pairs) text += formatted("%-19s%s\r\n", pair.label.c_str(), pair.value.c_str());
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
        ui.showMessage(resourceString(kCannotCreateMessage), MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    BusyCursor busy(ui);
    const std::string text = configurationReportText(report);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.flush();
    if (!file) {
        ui.showMessage(resourceString(kCannotWriteMessage), MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    return true;
}

} // namespace korvel
