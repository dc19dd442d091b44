#include "setup/file_dialogs.h"

#include "setup/text_format.h"

namespace korvel {

std::vector<FileFilterEntry> fileFilterEntries(const std::string &filter) {
    std::vector<FileFilterEntry> entries;
    std::size_t at = 0;
    while (at < filter.size()) {
        const std::size_t bar = filter.find('|', at);
        if (bar == std::string::npos || bar == at) break;
        const std::size_t end = filter.find('|', bar + 1);
        if (end == std::string::npos) break;
        entries.push_back({filter.substr(at, bar - at), filter.substr(bar + 1, end - bar - 1)});
        at = end + 1;
    }
    return entries;
}

FileDialogTexts loadMxbFileDialog(unsigned bcn) {
    return {formatted("Load Mx+B File - %02u", bcn), kTextFilesFilter, "txt", true, false};
}

FileDialogTexts configurationTextDialog(unsigned bcn) {
    return {formatted("Save Instrument Configuration Text - %02u", bcn), kTextFilesFilter, "txt", false, true};
}

FileDialogTexts dataFileDialog(unsigned bcn, FileFormat format) {
    const char *filter = kAsciiFilesFilter;
    if (format == FileFormat::FastBinary) filter = kBinaryFilesFilter;
    if (format == FileFormat::TrendLink) filter = kTrendLinkFilesFilter;
    return {formatted("Data File - %02u", bcn), filter, {}, false, false};
}

} // namespace korvel
