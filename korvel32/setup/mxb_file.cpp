#include "setup/mxb_file.h"
#include "platform/file_exists.h"
#include "setup/program_relative_path.h"

#include "platform/string_table.h"
#include "platform/window_notifications.h"
#include "setup/mxb_text.h"

#include <fstream>
#include <memory>
#include <new>

namespace korvel {

namespace {

struct FileText {
    int problem = 0; // the message that refuses the file, 0 when read
    std::string text;
};

// The size is checked before anything is read, and reading stops at the
// limit even if the file grows meanwhile. Only a regular file is opened, so
// that a pipe or a device cannot keep the logger waiting.
FileText readMxbFileText(const std::string &path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) return {message::kCannotOpenMxbFile, {}};
    if (!fs::is_regular_file(status)) return {message::kCannotOpenMxbFile, {}};
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) return {message::kCannotOpenMxbFile, {}};
    if (size > kMxbFileMaximumSize) return {message::kInvalidMxbFile, {}};

    std::ifstream file(path, std::ios::binary);
    if (!file) return {message::kCannotOpenMxbFile, {}};
    std::string text(kMxbFileMaximumSize + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    const std::streamsize count = file.gcount();
    if (file.bad() || count <= 0 || static_cast<std::uintmax_t>(count) > kMxbFileMaximumSize) {
        return {message::kInvalidMxbFile, {}};
    }
    text.resize(static_cast<std::size_t>(count));
    return {0, std::move(text)};
}

void showError(UserInterface &ui, const std::string &text) {
    ui.showMessage(text, MessageIcon::Exclamation, MessageButtons::Ok);
}

// The working copy takes the scaling; the instrument gets it only when the
// whole file was good and named at least one defined channel.
MxbLoadResult loadIntoSetup(InstrumentSetup &setup, const std::string &path, char decimalSymbol, UserInterface &ui) {
    std::unique_ptr<InstrumentSetup> working;
    try {
        working = std::make_unique<InstrumentSetup>(setup);
    } catch (const std::bad_alloc &) {
        showError(ui, resourceString(message::kLowOnMemory));
        return MxbLoadResult::Refused;
    }

    BusyCursor busy(ui);
    const FileText file = readMxbFileText(path);
    if (file.problem != 0) {
        showError(ui, resourceString(file.problem));
        return MxbLoadResult::Refused;
    }
    const MxbText parsed = parseMxbText(file.text, decimalSymbol);
    if (!parsed.valid) {
        showError(ui, resourceString(message::kInvalidMxbFile) + "\r\n\"" + parsed.offendingLine + "...\"");
        return MxbLoadResult::Refused;
    }
    if (!applyMxbLines(*working, parsed.lines)) return MxbLoadResult::Unchanged;
    setup = std::move(*working);
    return MxbLoadResult::Applied;
}

} // namespace

MxbLoadResult loadMxbFile(InstrumentTable &table, int slot, const std::string &path, char decimalSymbol,
                          UserInterface &ui) {
    const MxbLoadResult result = loadIntoSetup(*table.slot(slot).setup, path, decimalSymbol, ui);
    if (result == MxbLoadResult::Applied) ui.notify(ChildWindow::QuickPlot, quick_plot::kConfigurationChanged, slot, 0);
    return result;
}

MxbRemoteResult loadMxbFileRemotely(InstrumentTable &table, unsigned bcn, const std::string &fileName,
                                    const std::string &programDirectory, const SlotLogging &logging, char decimalSymbol,
                                    UserInterface &ui) {
    const int slot = table.find(bcn);
    if (slot == 0) return {ToolboxReply::NoSuchInstrument, false};
    if (logging(slot)) return {ToolboxReply::InstrumentLogging, false};
    const std::string path = programRelativePath(programDirectory, fileName);
    if (!fileExists(path)) return {ToolboxReply::NoSuchMxbFile, false};
    return {ToolboxReply::Done, loadMxbFile(table, slot, path, decimalSymbol, ui) == MxbLoadResult::Applied};
}

} // namespace korvel
