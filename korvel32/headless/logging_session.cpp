#include "logging_session.h"

#include <thread>

namespace korvel {

namespace {


} // namespace

LoggingSession::LoggingSession(SessionTarget target, UserInterface &ui, Clock &clock, std::ostream &statusOut)
    : table_(target.table), clock_(clock), files_(target.table, target.regional), observer_(files_, remote_),
      engine_(target.table, target.options, ui, observer_, clock),
      commandHost_(target.table, files_, ui, clock), commands_(target.table, target.options, runs_, commandHost_),
      remote_(RemoteCommandTargets{target.table, runs_, commands_, target.document, ui, target.programDirectory,
                                   target.regional.decimalSymbol},
              remoteHost_),
      tick_(target.table, target.options, engine_, files_, ui, observer_, tickObserver_, clock),
      status_(target.table, engine_, statusOut) {
    engine_.setAutoScanDisable(target.autoScanDisable);
}

bool LoggingSession::startAll() {
    commands_.startAll();
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table_.slot(slot).inUse && !engine_.run(slot).logging) return false;
    }
    return true;
}

void LoggingSession::runUntil(const std::function<bool()> &stopRequested) {
    while (!stopRequested()) tickAndRest();
}

void LoggingSession::stopAll(std::chrono::milliseconds drainBound) {
    commands_.stopAll(CommandSource::User);
    const auto until = std::chrono::steady_clock::now() + drainBound;
    while (anyRunActive() && std::chrono::steady_clock::now() < until) tickAndRest();
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (engine_.run(slot).logging) engine_.endRun(slot);
    }
}

void LoggingSession::tickAndRest() {
    const long before = totalScans();
    tick_();
    status_.update(clock_.now().seconds);
    scansRead_ += totalScans() - before;
    const auto rest = rest_.after(tick_.mayRest());
    if (rest.count() > 0) std::this_thread::sleep_for(rest);
}

bool LoggingSession::anyRunActive() const {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (engine_.run(slot).logging || engine_.run(slot).draining) return true;
    }
    return false;
}

long LoggingSession::totalScans() const {
    long total = 0;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) total += engine_.run(slot).totalScans;
    return total;
}

} // namespace korvel
