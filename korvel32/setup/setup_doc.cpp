#include "setup/setup_doc.h"

#include "platform/string_table.h"
#include "setup/record_form_reader.h"
#include "setup/record_form_writer.h"
#include "setup/setup_file_io.h"
#include "setup/setup_records.h"
#include "setup/text_form_reader.h"

#include <cstdio>
#include <string_view>

namespace korvel {

CSetupDoc::CSetupDoc(SetupTarget target, UserInterface &ui, const RegionalFormats &regional)
        : target_(std::move(target)), ui_(ui), regional_(regional) {}

void CSetupDoc::clear() {
    LoggerOptions &options = target_.options;
    options.wiredGroup = true;
    options.simulateData = false;
    options.statusOnAlarm = true;
    options.statusOnStart = true;
    options.resetTotalizer = true;
    if (target_.host.mainWindowExists()) {
        target_.instruments.removeAll();
        target_.plot = PlotSettings{};
        target_.host.plotSettingsReset();
    }
    target_.instruments.makeAllAsync();
    pathName_.clear();
    modified_ = false;
    target_.host.documentChanged(pathName_, modified_);
}

bool CSetupDoc::open(const std::string &path) {
    if (target_.host.anyInstrumentLogging()) return false;
    const auto bytes = readSetupFile(path);
    if (!bytes) {
        showError(message::kUnableToOpenSetup);
        return false;
    }
    if (bytes->empty()) {
        clear();
        setModified(true);
        setPathName(path);
        return true;
    }
    if (bytes->size() < kFileHeaderSize) {
        showError(message::kInvalidSetupFile);
        return false;
    }
    if (isRecordForm(*bytes)) return finishOpen(readRecordForm(*bytes, target_), path, false);
    const std::string_view text(reinterpret_cast<const char *>(bytes->data()), bytes->size());
    return finishOpen(readTextForm(text, target_), path, true);
}

bool CSetupDoc::finishOpen(const LoadOutcome &outcome, const std::string &path, bool textForm) {
    if (outcome.setupReplaced) setModified(true);
    switch (outcome.status) {
        case LoadOutcome::Status::Invalid: showError(message::kInvalidSetupFile); return false;
        case LoadOutcome::Status::Incompatible:
            showError(message::kIncompatibleSetupVersion, outcome.versionText);
            return false;
        case LoadOutcome::Status::OutOfMemory: showError(message::kLowOnMemory); return false;
        case LoadOutcome::Status::Loaded: break;
    }
    if (outcome.toolboxQueueShortage) showError(message::kToolboxQueueShortage);
    if (!outcome.invalidBcns.empty()) {
        std::string text = resourceString(message::kInvalidBcns);
        const std::size_t placeholder = text.find("%s");
        if (placeholder != std::string::npos) text.replace(placeholder, 2, invalidBcnList(outcome.invalidBcns));
        ui_.showMessage(text, MessageIcon::Exclamation, MessageButtons::Ok);
    }
    // A text setup file stays modified: only a save makes it a setup file.
    setModified(textForm || !outcome.invalidBcns.empty() || outcome.toolboxQueueShortage);
    target_.host.plotSettingsLoaded();
    target_.host.selectFirstInstrument();
    setPathName(path);
    return true;
}

bool CSetupDoc::save(const std::string &path) {
    target_.host.refreshWindowState(target_.options);
    const auto bytes =
        writeRecordForm(target_.instruments, target_.options, target_.host.plotWindowRect(), target_.plot);
    if (!replaceSetupFile(path, bytes)) {
        showError(message::kUnableToWriteSetup);
        return false;
    }
    setModified(false);
    setPathName(path);
    return true;
}

bool CSetupDoc::saveBeforeClose(const std::function<void()> &saveCommand) {
    if (target_.host.anyInstrumentLogging()) return false;
    if (!modified_) return true;
    switch (
        ui_.showMessage(resourceString(message::kSetupChanged), MessageIcon::Question, MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes: saveCommand(); return !modified_;
        case MessageAnswer::No: setModified(false); return true;
        default: return false;
    }
}

void CSetupDoc::showError(int messageId, const std::string &suffix) {
    ui_.showMessage(resourceString(messageId) + suffix, MessageIcon::Exclamation, MessageButtons::Ok);
}

// "05, 07, 12" with the regional list separator.
std::string CSetupDoc::invalidBcnList(const std::vector<unsigned> &bcns) const {
    std::string list;
    for (const unsigned bcn : bcns) {
        char entry[32];
        if (list.empty()) {
            std::snprintf(entry, sizeof entry, "%02u", bcn);
        } else {
            std::snprintf(entry, sizeof entry, "%c %02u", regional_.listSeparator, bcn);
        }
        list += entry;
    }
    return list;
}

void CSetupDoc::setModified(bool modified) {
    if (modified == modified_) return;
    modified_ = modified;
    target_.host.documentChanged(pathName_, modified_);
}

void CSetupDoc::setPathName(const std::string &path) {
    pathName_ = path;
    if (target_.host.toolboxActive()) target_.host.toolboxSetupFile(path);
    target_.host.documentChanged(pathName_, modified_);
}

} // namespace korvel
