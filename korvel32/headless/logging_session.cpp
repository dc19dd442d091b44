#include "logging_session.h"

namespace korvel {

LoggingSession::LoggingSession(SessionTarget target, UserInterface &ui, Clock &clock, std::ostream &statusOut)
        : table_(target.table), core_(target, *this, ui, clock), rest_(target.liveValues, target.link),
          status_(target.table, core_.engine(), statusOut) {}

bool LoggingSession::startAll() {
    core_.commands().startAll();
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table_.slot(slot).inUse && !core_.engine().run(slot).logging) return false;
    }
    return true;
}

void LoggingSession::runUntil(const std::function<bool()> &stopRequested) {
    while (!stopRequested()) tickAndRest();
}

void LoggingSession::stopAll() {
    core_.commands().stopAll(CommandSource::User);
    const auto until = std::chrono::steady_clock::now() + kDrainBound;
    while (anyRunActive() && std::chrono::steady_clock::now() < until) tickAndRest();
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (core_.engine().run(slot).logging) core_.engine().endRun(slot);
    }
}

// The tick's turn for the windows comes with its own clock reading.
void LoggingSession::updateLiveWindows(CalendarTime now) { status_.update(now.seconds); }

void LoggingSession::tickAndRest() {
    const auto rest = core_.tick();
    if (!scansRead_) scansRead_ = anyScans();
    rest_.rest(rest);
}

bool LoggingSession::anyRunActive() const {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        const LoggingRun &run = core_.engine().run(slot);
        if (run.logging || run.draining) return true;
    }
    return false;
}

bool LoggingSession::anyScans() const {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (core_.engine().run(slot).totalScans > 0) return true;
    }
    return false;
}

} // namespace korvel
