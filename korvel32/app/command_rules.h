// When each command of the main window is enabled and when it carries a check
// mark, as plain functions of the setup's and the windows' state, so that the
// menu, the toolbar and the tests read the same rules.
#pragma once

#include "logging/logging_commands.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <optional>

namespace korvel {

struct CommandState {
    int count = 0;         // instruments in use
    bool selected = false; // an instrument is selected
    bool selectedLogging = false;
    bool selectedStopping = false;
    bool selectedSlave = false;
    bool anyLogging = false;
    bool anyNotLogging = false; // some instrument in use is not logging
    bool lockout = false;
    bool clearTotalizer = false;
    bool simulate = false;
    bool statusOnStart = false;
    bool statusOnAlarm = false;
    bool toolbarVisible = false;
    bool statusBarVisible = false;
    bool readingsVisible = false;
    bool loggingStatusVisible = false;
    bool trendLinkLoaded = false; // the Trend Link data-base library
};

// The instruments' and the options' part of the state; the window fills in
// the visibility of its bars and windows.
CommandState setupCommandState(const InstrumentTable &table, const LoggingRuns &runs, int selectedSlot,
                               const LoggerOptions &options);

// Also for the recent files (command::kFirstRecentFile and on).
bool commandEnabled(int id, const CommandState &state);

// The check mark of a command that has one; nullopt for the others.
std::optional<bool> commandChecked(int id, const CommandState &state);

} // namespace korvel
