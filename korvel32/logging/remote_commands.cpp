#include "logging/remote_commands.h"

#include "platform/file_exists.h"
#include "setup/mxb_file.h"
#include "setup/program_relative_path.h"

#include <fstream>
#include <utility>

namespace korvel {

RemoteCommands::RemoteCommands(RemoteCommandTargets targets, const FrontEnd &frontEnd)
        : targets_(std::move(targets)), frontEnd_(frontEnd) {}

void RemoteCommands::receive(std::uint32_t code, std::uint32_t argument) {
    code_ = code;
    argument_ = argument;
    state_ = RemoteCommandState::Pending;
}

void RemoteCommands::runPending() {
    std::uint32_t code = 0, argument = 0;
    if (state_ == RemoteCommandState::Idle && frontEnd_.toolbox.takePostedCommand(code, argument))
        receive(code, argument);
    if (state_ != RemoteCommandState::Pending || frontEnd_.windows.userInputWaiting()) return;
    state_ = RemoteCommandState::Executing;
    reply_ = ToolboxReply::Done;
    replyBcn_ = 0;
    // Switching remote mode is the one command that may interrupt a dialog.
    if (frontEnd_.windows.mainWindowEnabled() || code_ == static_cast<std::uint32_t>(RemoteCommand::SwitchRemoteMode))
        execute();
    else
        reply_ = ToolboxReply::ModalDialogOpen;
    frontEnd_.toolbox.reply(replyBcn_, reply_);
    state_ = RemoteCommandState::Idle;
}

void RemoteCommands::execute() {
    switch (static_cast<RemoteCommand>(code_)) {
        case RemoteCommand::StartInstrument: reply_ = startInstrument(); break;
        case RemoteCommand::StartAll: {
            const CommandResult result = targets_.commands.startAll();
            reply_ = result.reply;
            replyBcn_ = result.failedBcn;
            break;
        }
        case RemoteCommand::StopInstrument: reply_ = stopInstrument(); break;
        case RemoteCommand::StopAll: reply_ = targets_.commands.stopAll(CommandSource::Remote).reply; break;
        case RemoteCommand::OpenSetupKeepingChanges:
            reply_ = targets_.doc.modified() ? ToolboxReply::UnsavedChanges : openSetup();
            break;
        case RemoteCommand::OpenSetup: reply_ = openSetup(); break;
        case RemoteCommand::SaveAndOpenSetup: reply_ = saveAndOpenSetup(); break;
        case RemoteCommand::LoadMxbFile: reply_ = loadMxbFile(); break;
        case RemoteCommand::SwitchRemoteMode: reply_ = switchRemoteMode(); break;
    }
}

ToolboxReply RemoteCommands::startInstrument() {
    replyBcn_ = static_cast<std::uint16_t>(argument_);
    return targets_.commands.startInstrument(targets_.table.find(argument_)).reply;
}

ToolboxReply RemoteCommands::stopInstrument() {
    replyBcn_ = static_cast<std::uint16_t>(argument_);
    return targets_.commands.stopInstrument(targets_.table.find(argument_), CommandSource::Remote).reply;
}

ToolboxReply RemoteCommands::openSetup() {
    if (anyLogging(targets_.table, targets_.runs)) return ToolboxReply::InstrumentLogging;
    const std::string path = resolvedPath(ToolboxPath::Open);
    if (!regularFileExists(path)) return ToolboxReply::NoSuchSetupFile;
    // The toolbox asked for this setup: the changes of the current one are given up.
    targets_.doc.setModified(false);
    targets_.doc.open(path);
    frontEnd_.windows.setupOpened();
    return ToolboxReply::Done;
}

ToolboxReply RemoteCommands::saveAndOpenSetup() {
    if (targets_.doc.modified()) {
        const ToolboxReply saved = saveSetup();
        if (saved != ToolboxReply::Done) return saved;
    }
    return openSetup();
}

ToolboxReply RemoteCommands::saveSetup() {
    if (anyLogging(targets_.table, targets_.runs)) return ToolboxReply::InstrumentLogging;
    const std::string path = resolvedPath(ToolboxPath::Save);
    // Found out here, so that the toolbox hears of it instead of a message box.
    if (!std::ofstream(path, std::ios::app).is_open()) return ToolboxReply::CannotCreateSetupFile;
    if (!targets_.doc.save(path)) return ToolboxReply::CannotCreateSetupFile;
    frontEnd_.windows.setupOpened();
    return ToolboxReply::Done;
}

ToolboxReply RemoteCommands::loadMxbFile() {
    replyBcn_ = static_cast<std::uint16_t>(argument_);
    const MxbRemoteResult result = loadMxbFileRemotely(
        targets_.table, argument_, frontEnd_.toolbox.filePath(ToolboxPath::Open), targets_.programDirectory,
        [this](int slot) { return targets_.runs.logging(slot); }, targets_.decimalSymbol, frontEnd_.ui);
    if (result.changed) {
        targets_.doc.setModified(true);
        frontEnd_.windows.configurationChanged();
    }
    return result.reply;
}

ToolboxReply RemoteCommands::switchRemoteMode() {
    const bool on = argument_ != 0;
    if (on == frontEnd_.toolbox.remoteMode())
        return on ? ToolboxReply::RemoteModeAlreadyOn : ToolboxReply::RemoteModeAlreadyOff;
    frontEnd_.toolbox.setRemoteMode(on);
    return ToolboxReply::Done;
}

std::string RemoteCommands::resolvedPath(ToolboxPath kind) {
    return programRelativePath(targets_.programDirectory, frontEnd_.toolbox.filePath(kind));
}

} // namespace korvel
