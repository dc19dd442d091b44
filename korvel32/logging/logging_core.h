// The logging engine of a front end with everything it talks to, each made
// before what needs it: the data files, the Start/Stop commands, the remote
// commands and the logging tick. The front end drives the tick from its main
// loop, resting as long as the tick allows, and shows what its windows show.
#pragma once

#include "datafiles/slot_data_files.h"
#include "logging/front_end.h"
#include "logging/logging_commands.h"
#include "logging/logging_engine.h"
#include "logging/logging_tick.h"
#include "logging/remote_commands.h"
#include "logging/session_target.h"
#include "logging/tick_rest.h"

#include <chrono>

namespace korvel {

class LoggingCore {
public:
    LoggingCore(SessionTarget target, LoggingWindows &windows, UserInterface &ui, Clock &clock);
    ~LoggingCore();
    LoggingCore(const LoggingCore &) = delete;
    LoggingCore &operator=(const LoggingCore &) = delete;

    // One logging tick; returns how long the main loop may rest before the next.
    std::chrono::milliseconds tick();

    LoggingEngine &engine() { return engine_; }
    const LoggingEngine &engine() const { return engine_; }
    LoggingCommands &commands() { return commands_; }
    const LoggingRuns &runs() const { return runs_; }
    RemoteCommands &remote() { return remote_; }
    bool anyLogging() const { return korvel::anyLogging(table_, runs_); }

private:
    InstrumentTable &table_;
    FrontEnd frontEnd_;
    SlotDataFiles files_;
    LoggingEngine engine_;
    EngineRuns runs_{engine_};
    LoggingCommands commands_;
    RemoteCommands remote_;
    LoggingTick tick_;
    TickRest rest_;
};

} // namespace korvel
