// The toolbox's remote commands: the message handler only records a command
// as pending; the logging tick runs it later, when no user input waits, and
// every command ends with its result BCN and reply code sent to the toolbox.
#pragma once

#include "logging/front_end.h"
#include "logging/logging_commands.h"
#include "platform/toolbox_reply.h"
#include "setup/instrument_table.h"
#include "setup/setup_doc.h"

#include <cstdint>
#include <string>

namespace korvel {

// The name of the toolbox's command channel.
inline constexpr const char *kRemoteCommandChannel = "DideradevUzevuvoLoggerCmdMessage";

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

// What the commands act on.
struct RemoteCommandTargets {
    InstrumentTable &table;
    LoggingRuns &runs;
    LoggingCommands &commands;
    CSetupDoc &doc;
    std::string programDirectory;
    char decimalSymbol = '.';
};

class RemoteCommands {
public:
    // The commands reach the user and the main window through the front end,
    // and take their files from the toolbox and reply to it.
    RemoteCommands(RemoteCommandTargets targets, const FrontEnd &frontEnd);

    // The command channel's message: the command waits for the logging tick.
    void receive(std::uint32_t code, std::uint32_t argument);

    // Called by the logging tick: runs a pending command unless user input waits.
    void runPending();

    RemoteCommandState state() const { return state_; }

private:
    void execute();
    ToolboxReply startInstrument();
    ToolboxReply stopInstrument();
    ToolboxReply openSetup();
    ToolboxReply saveAndOpenSetup();
    ToolboxReply saveSetup();
    ToolboxReply loadMxbFile();
    ToolboxReply switchRemoteMode();
    std::string resolvedPath(ToolboxPath kind);

    RemoteCommandTargets targets_;
    FrontEnd frontEnd_;
    RemoteCommandState state_ = RemoteCommandState::Idle;
    std::uint32_t code_ = 0;
    std::uint32_t argument_ = 0;
    ToolboxReply reply_ = ToolboxReply::Done;
    std::uint16_t replyBcn_ = 0;
};

} // namespace korvel
