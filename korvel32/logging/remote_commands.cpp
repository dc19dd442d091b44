#include "logging/remote_commands.h"

#include "setup/mxb_file.h"
#include "setup/program_relative_path.h"

#include <filesystem>
#include <fstream>
#include <utility>

namespace korvel {

RemoteCommands::RemoteCommands(RemoteCommandTargets targets, RemoteCommandHost &host)
        : targets_(std::move(targets)), host_(host) {}

void RemoteCommands::receive(std::uint32_t code, std::uint32_t argument) {
    code_ = code;
    argument_ = argument;
    state_ = RemoteCommandState::Pending;
}

void RemoteCommands::runPending() {
    if (state_ != RemoteCommandState::Pending || host_.userInputWaiting()) return;
    state_ = RemoteCommandState::Executing;
    reply_ = 0;
    replyBcn_ = 0;
    // Switching remote mode is the one command that may interrupt a dialog.
    if (host_.mainWindowEnabled() || code_ == static_cast<std::uint32_t>(RemoteCommand::SwitchRemoteMode))
        execute();
    else
        reply_ = toolbox_reply::kModalDialogOpen;
    host_.toolboxReply(replyBcn_, reply_);
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
            reply_ = targets_.doc.modified() ? toolbox_reply::kUnsavedChanges : openSetup();
            break;
        case RemoteCommand::OpenSetup: reply_ = openSetup(); break;
        case RemoteCommand::SaveAndOpenSetup: reply_ = saveAndOpenSetup(); break;
        case RemoteCommand::LoadMxbFile: reply_ = loadMxbFile(); break;
        case RemoteCommand::SwitchRemoteMode: reply_ = switchRemoteMode(); break;
    }
}

std::int16_t RemoteCommands::startInstrument() {
    replyBcn_ = static_cast<std::uint16_t>(argument_);
    return targets_.commands.startInstrument(targets_.table.find(argument_)).reply;
}

std::int16_t RemoteCommands::stopInstrument() {
    replyBcn_ = static_cast<std::uint16_t>(argument_);
    return targets_.commands.stopInstrument(targets_.table.find(argument_), CommandSource::Remote).reply;
}

std::int16_t RemoteCommands::openSetup() {
    if (anyLogging(targets_.table, targets_.runs)) return toolbox_reply::kAlreadyLogging;
    const std::string path = resolvedPath(ToolboxPath::Open);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return toolbox_reply::kNoSuchSetupFile;
    // The toolbox asked for this setup: the changes of the current one are given up.
    targets_.doc.setModified(false);
    targets_.doc.open(path);
    return 0;
}

std::int16_t RemoteCommands::saveAndOpenSetup() {
    if (targets_.doc.modified()) {
        const std::int16_t saved = saveSetup();
        if (saved != 0) return saved;
    }
    return openSetup();
}

std::int16_t RemoteCommands::saveSetup() {
    if (anyLogging(targets_.table, targets_.runs)) return toolbox_reply::kAlreadyLogging;
    const std::string path = resolvedPath(ToolboxPath::Save);
    // Found out here, so that the toolbox hears of it instead of a message box.
    if (!std::ofstream(path, std::ios::app).is_open()) return toolbox_reply::kCannotCreateSetupFile;
    return targets_.doc.save(path) ? 0 : toolbox_reply::kCannotCreateSetupFile;
}

std::int16_t RemoteCommands::loadMxbFile() {
    replyBcn_ = static_cast<std::uint16_t>(argument_);
    const MxbRemoteResult result = loadMxbFileRemotely(
        targets_.table, argument_, host_.toolboxFilePath(ToolboxPath::Open), targets_.programDirectory,
        [this](int slot) { return targets_.runs.logging(slot); }, targets_.decimalSymbol, targets_.ui);
    if (result.changed) {
        targets_.doc.setModified(true);
        host_.configurationChanged();
    }
    return static_cast<std::int16_t>(result.reply);
}

std::int16_t RemoteCommands::switchRemoteMode() {
    const bool on = argument_ != 0;
    if (on == remoteMode_) return on ? toolbox_reply::kRemoteModeAlreadyOn : toolbox_reply::kRemoteModeAlreadyOff;
    remoteMode_ = on;
    host_.toolboxRemoteMode(on);
    return 0;
}

std::string RemoteCommands::resolvedPath(ToolboxPath kind) {
    return programRelativePath(targets_.programDirectory, host_.toolboxFilePath(kind));
}

} // namespace korvel
