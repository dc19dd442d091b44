#include "datafiles/trend_link_names.h"

#include "platform/ascii_digits.h"
#include "setup/text_format.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace korvel {
namespace {

std::string withoutTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

std::string dataSetName(const std::string &dataFilePath) {
    return withoutTrailingBlanks(cut(std::filesystem::path(dataFilePath).stem().string(), kDataSetNameLength));
}

std::string instrumentDataSetName(const std::string &name, GroupRole role, unsigned bcn) {
    switch (role) {
        case GroupRole::Master: return name + formatted("-%02um", bcn);
        case GroupRole::Slave: return name + formatted("-%02us", bcn);
        case GroupRole::Async: break;
    }
    return name;
}

std::string dataSetDirectory(const std::string &dataFilePath) {
    return (std::filesystem::path(dataFilePath).parent_path() / ("_" + dataSetName(dataFilePath))).string();
}

std::string chartFilePath(const std::string &dataFilePath) {
    const std::string chartName = cut(std::filesystem::path(dataFilePath).stem().string(), kChartNameLength);
    return (std::filesystem::path(dataSetDirectory(dataFilePath)) / (chartName + ".cht")).string();
}

std::string trendLinkDataSetOf(const std::string &dataFilePath) {
    std::string name = dataSetName(dataFilePath);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

std::string channelTagName(unsigned bcn, int channel) { return formatted("%02u%02d", bcn, channel); }

unsigned tagBcn(const std::string &tagName) {
    if (tagName.size() < 2 || !isDigit(tagName[0]) || !isDigit(tagName[1])) return 0;
    return static_cast<unsigned>((tagName[0] - '0') * 10 + (tagName[1] - '0'));
}

std::string furtherTagName(unsigned bcn, FurtherTag tag) {
    switch (tag) {
        case FurtherTag::DigitalIo: return formatted("%02uDIO", bcn);
        case FurtherTag::Totalizer: return formatted("%02uTOTAL", bcn);
        case FurtherTag::Alarm1: return formatted("%02uALARM1", bcn);
        case FurtherTag::Alarm2: return formatted("%02uALARM2", bcn);
    }
    return {};
}

const char *furtherTagDescription(FurtherTag tag) {
    switch (tag) {
        case FurtherTag::DigitalIo: return "Digital I/O";
        case FurtherTag::Totalizer: return "Totalizer Count";
        case FurtherTag::Alarm1: return "Alarm 1 Word";
        case FurtherTag::Alarm2: return "Alarm 2 Word";
    }
    return "";
}

std::string batchNameBase(const std::string &batchName, const std::string &dataFilePath) {
    const std::string base = batchName.empty() ? std::filesystem::path(dataFilePath).filename().string() : batchName;
    return cut(base, kBatchNameBaseLength);
}

} // namespace korvel
