// The toolbox's remote commands: the message handler only records a command
// as pending; the logging tick runs it later, when no user input waits, and
// every command ends with its result BCN and reply code sent to the toolbox.
#pragma once

#include "logging/logging_commands.h"
#include "platform/user_interface.h"
#include "setup/instrument_table.h"
#include "setup/setup_doc.h"

#include <cstdint>
#include <string>

namespace korvel {

// The name of the toolbox's command channel.
inline constexpr const char *kRemoteCommandChannel = "DideradevUzevuvoLoggerCmdMessage";

namespace toolbox_reply {
inline constexpr std::int16_t kModalDialogOpen = -6000;
inline constexpr std::int16_t kRemoteModeAlreadyOn = -6001;
inline constexpr std::int16_t kRemoteModeAlreadyOff = -6002;
inline constexpr std::int16_t kUnsavedChanges = -6007;
inline constexpr std::int16_t kNoSuchSetupFile = -6026;
inline constexpr std::int16_t kCannotCreateSetupFile = -6027;
} // namespace toolbox_reply

enum class RemoteCommand : std::uint32_t {
    StartInstrument = 1,
    StartAll = 2,
    StopInstrument = 3,
    StopAll = 4,
    OpenSetupKeepingChanges = 5,
    OpenSetup = 6,
    SaveAndOpenSetup = 7,
    LoadMxbFile = 8,
    SwitchRemoteMode = 9,
};

enum class RemoteCommandState { Idle, Pending, Executing };

// Which path a command asks the toolbox for.
enum class ToolboxPath { Open = 1, Save = 2 };

// The main window and the toolbox as the remote commands reach them.
class RemoteCommandHost {
public:
    virtual ~RemoteCommandHost() = default;
    // Keyboard or mouse-button input, or a command for the main window, is queued.
    virtual bool userInputWaiting() const = 0;
    // False while a modal dialog is open.
    virtual bool mainWindowEnabled() const = 0;
    // The file a command works on, as the toolbox names it.
    virtual std::string toolboxFilePath(ToolboxPath kind) = 0;
    virtual void toolboxRemoteMode(bool on) = 0;
    // The end of every executed command.
    virtual void toolboxReply(std::uint16_t bcn, std::int32_t reply) = 0;
    // An Mx+B file changed an instrument's configuration: the views follow.
    virtual void configurationChanged() = 0;
};

// What the commands act on.
struct RemoteCommandTargets {
    InstrumentTable &table;
    LoggingRuns &runs;
    LoggingCommands &commands;
    CSetupDoc &doc;
    UserInterface &ui;
    std::string programDirectory;
    char decimalSymbol = '.';
};

class RemoteCommands {
public:
    RemoteCommands(RemoteCommandTargets targets, RemoteCommandHost &host);

    // The command channel's message: the command waits for the logging tick.
    void receive(std::uint32_t code, std::uint32_t argument);

    // Called by the logging tick: runs a pending command unless user input waits.
    void runPending();

    RemoteCommandState state() const { return state_; }
    // While on, problems of a run go to the toolbox instead of the user.
    bool remoteMode() const { return remoteMode_; }

private:
    void execute();
    std::int16_t startInstrument();
    std::int16_t stopInstrument();
    std::int16_t openSetup();
    std::int16_t saveAndOpenSetup();
    std::int16_t saveSetup();
    std::int16_t loadMxbFile();
    std::int16_t switchRemoteMode();
    std::string resolvedPath(ToolboxPath kind);

    RemoteCommandTargets targets_;
    RemoteCommandHost &host_;
    RemoteCommandState state_ = RemoteCommandState::Idle;
    std::uint32_t code_ = 0;
    std::uint32_t argument_ = 0;
    std::int16_t reply_ = 0;
    std::uint16_t replyBcn_ = 0;
    bool remoteMode_ = false;
};

} // namespace korvel
