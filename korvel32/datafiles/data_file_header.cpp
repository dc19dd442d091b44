#include "datafiles/data_file_header.h"

#include "datafiles/data_file_group.h"
#include "platform/regional_formats.h"
#include "platform/string_table.h"
#include "setup/channel_identifier.h"

#include <array>
#include <cstdio>

namespace korvel {
namespace {

constexpr int kTimeTitle = 1269;
constexpr std::array<int, 4> kStatusTitles = {1270, 1271, 1272, 1273}; // DIO, TOTAL, ALARM1, ALARM2

// The part of every data line that follows an instrument's readings.
constexpr int kStatusColumns = 4;

const char *kLineEnd = "\r\n";

std::string quoted(const std::string &text) { return "\"" + text + "\""; }

// sep, one space, then the item: how every column after the first begins.
void appendItem(std::string &line, char sep, const std::string &item) {
    line += sep;
    line += ' ';
    line += item;
}

std::string twoDigits(unsigned number) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u", number);
    return text;
}

std::string channelId(unsigned bcn, int channel) {
    char text[16];
    std::snprintf(text, sizeof text, "\"%04u\"", channelIdentifier(bcn, channel));
    return text;
}

void appendUnitsTitles(std::string &line, char sep, const InstrumentPart &part) {
    for (int channel : part.channels) appendItem(line, sep, quoted(part.setup->channel(channel).unitsLabel));
    for (int title : kStatusTitles) appendItem(line, sep, quoted(resourceString(title)));
}

void appendChannelNumbers(std::string &line, char sep, const InstrumentPart &part) {
    for (int channel : part.channels) appendItem(line, sep, channelId(part.bcn, channel));
    for (int title : kStatusTitles) appendItem(line, sep, quoted(twoDigits(part.bcn) + resourceString(title)));
}

} // namespace

std::string dataFileHeader(const DataFileGroup &group, const std::string &fileName, const std::string &creationText,
                           const RegionalFormats &formats) {
    const char sep = formats.listSeparator;
    std::string header = quoted(fileName) + kLineEnd;
    header += creationText + kLineEnd;
    header += quoted(group.owner.setup->dataFile.comment) + kLineEnd;

    header += std::to_string(1 + kStatusColumns + group.owner.channels.size());
    for (const InstrumentPart &slave : group.slaves) {
        header += sep;
        header += ' ';
        header += std::to_string(kStatusColumns + slave.channels.size());
    }
    header += kLineEnd;

    header += quoted(resourceString(kTimeTitle));
    appendUnitsTitles(header, sep, group.owner);
    for (const InstrumentPart &slave : group.slaves) appendUnitsTitles(header, sep, slave);
    header += kLineEnd;

    header += quoted(twoDigits(group.owner.bcn) + resourceString(kTimeTitle));
    appendChannelNumbers(header, sep, group.owner);
    for (const InstrumentPart &slave : group.slaves) appendChannelNumbers(header, sep, slave);
    header += kLineEnd;
    return header;
}

} // namespace korvel
