// The logging engine of the headless logger, driven by a main loop that rests
// while the instruments have nothing new, serving the live-values clients
// meanwhile, with a status line per logging instrument each second. Made once
// start-up has read the regional formats the files use.
#pragma once

#include "logging/logging_core.h"
#include "logging/session_target.h"
#include "served_rest.h"
#include "status_lines.h"

#include <chrono>
#include <functional>
#include <iosfwd>

namespace korvel {

class LoggingSession : private LoggingWindows {
public:
    // Long enough for every instrument to hand over the scans it still holds.
    static constexpr std::chrono::seconds kDrainBound{10};

    LoggingSession(SessionTarget target, UserInterface &ui, Clock &clock, std::ostream &statusOut);

    // Start All Instruments; false when an instrument in use does not log.
    bool startAll();

    // Ticks until told to stop; stopRequested is asked before every tick.
    void runUntil(const std::function<bool()> &stopRequested);

    // Stop All Instruments, then ticks on while runs drain their last scans;
    // a run still going after kDrainBound is ended where it stands.
    void stopAll();

    // Whether any instrument delivered a scan in this session.
    bool scansRead() const { return scansRead_; }

private:
    void updateLiveWindows(CalendarTime now) override;
    void tickAndRest();
    bool anyRunActive() const;
    bool anyScans() const;

    const InstrumentTable &table_;
    LoggingCore core_;
    ServedRest rest_;
    StatusLines status_;
    bool scansRead_ = false;
};

} // namespace korvel
