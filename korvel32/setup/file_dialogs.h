// The file dialogs of the configuration commands: their titles, filters and
// default extensions, in the system's own texts.
#pragma once

#include "setup/setup_codes.h"

#include <string>
#include <vector>

namespace korvel {

struct FileDialogTexts {
    std::string title;
    // "Description|*.ext|...||", as the system writes its filters.
    std::string filter;
    std::string defaultExtension; // without the point; empty for none
    bool mustExist = false;       // an open dialog
    bool overwritePrompt = false; // a save dialog that asks before replacing
};

// The filters of the file dialogs, by kind of file.
inline constexpr const char *kTextFilesFilter = "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*||";
inline constexpr const char *kAsciiFilesFilter = "ASCII Files (*.CSV)|*.csv|All Files (*.*)|*.*||";
inline constexpr const char *kBinaryFilesFilter = "Binary Files (*.BIN)|*.bin|All Files (*.*)|*.*||";
inline constexpr const char *kTrendLinkFilesFilter = "Trend Link (*.SET)|*.set|All Files (*.*)|*.*||";

struct FileFilterEntry {
    std::string description; // "Text Files (*.TXT)"
    std::string pattern;     // "*.txt"
};

// The description/pattern pairs of a filter text.
std::vector<FileFilterEntry> fileFilterEntries(const std::string &filter);

// Load Mx+B File for the selected instrument.
FileDialogTexts loadMxbFileDialog(unsigned bcn);
// Save Inst. Config. Text for the selected instrument.
FileDialogTexts configurationTextDialog(unsigned bcn);
// Select Data File in Data File Configuration, filtered by the chosen format.
FileDialogTexts dataFileDialog(unsigned bcn, FileFormat format);

} // namespace korvel
