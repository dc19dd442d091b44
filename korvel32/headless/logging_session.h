// The logging engine of the headless logger with everything it talks to: the
// data files, the Start/Stop commands, the remote commands and the logging
// tick, driven by a main loop that rests while the instruments have nothing
// new. Made once start-up has read the regional formats the files use.
#pragma once

#include "acquisition/data_file_command_host.h"
#include "acquisition/data_file_observer.h"
#include "acquisition/logging_commands.h"
#include "acquisition/logging_engine.h"
#include "acquisition/logging_tick.h"
#include "acquisition/remote_commands.h"
#include "acquisition/session_target.h"
#include "acquisition/slot_data_files.h"
#include "acquisition/tick_rest.h"
#include "headless_remote_host.h"
#include "headless_tick_observer.h"
#include "status_lines.h"

#include <chrono>
#include <functional>
#include <iosfwd>

namespace korvel {

class LoggingSession {
public:
    LoggingSession(SessionTarget target, UserInterface &ui, Clock &clock, std::ostream &statusOut);

    // Start All Instruments; false when an instrument in use does not log.
    bool startAll();

    // Ticks until told to stop, printing the status lines each second.
    void runUntil(const std::function<bool()> &stopRequested);

    // Stop All Instruments, then ticks on while runs drain their last scans;
    // a run still going after the bound is ended where it stands.
    void stopAll(std::chrono::milliseconds drainBound);

    // Whether any instrument delivered a scan in this session.
    bool scansRead() const { return scansRead_ > 0; }

private:
    void tickAndRest();
    bool anyRunActive() const;
    long totalScans() const;

    InstrumentTable &table_;
    Clock &clock_;
    SlotDataFiles files_;
    HeadlessRemoteHost remoteHost_;
    DataFileObserver observer_;
    LoggingEngine engine_;
    EngineRuns runs_{engine_};
    DataFileCommandHost commandHost_;
    LoggingCommands commands_;
    RemoteCommands remote_;
    HeadlessTickObserver tickObserver_{remote_};
    LoggingTick tick_;
    StatusLines status_;
    long scansRead_ = 0;
    TickRest rest_;
};

} // namespace korvel
