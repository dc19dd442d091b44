#include "headless_logger.h"

#include "logging_deadline.h"
#include "logging_session.h"
#include "termination_signals.h"

#include <iostream>

namespace korvel {

namespace {

// Long enough for every instrument to hand over the scans it still holds.
constexpr auto kDrainBound = std::chrono::seconds(10);

} // namespace

HeadlessLogger::HeadlessLogger(const HeadlessOptions &options, std::ostream &statusOut)
    : options_(options), statusOut_(statusOut), ui_(options.answers),
      paths_(StartupPaths::ofThisProcess()),
      startup_(state_.startupTarget(), windows_, ui_, options.commandLine, paths_) {}

int HeadlessLogger::run() {
    if (!startup_.start()) return 1;
    const int status = logSetup();
    startup_.shutDown();
    return status;
}

// The session and its data files end before shutdown stops the library.
int HeadlessLogger::logSetup() {
    LoggingSession session(SessionTarget{state_.table, state_.options, state_.document, state_.regional, state_.settings.autoScanDisable,
                                         paths_.programDirectory},
                           ui_, clock_, statusOut_);
    const bool started = startInstruments(session);
    if (started) {
        LoggingDeadline deadline(options_.durationSeconds);
        deadline.started(std::chrono::steady_clock::now());
        session.runUntil([&] {
            const auto now = std::chrono::steady_clock::now();
            return terminationRequested() || deadline.passed(now, session.scansRead());
        });
    }
    session.stopAll(kDrainBound);
    return started ? 0 : 1;
}

// A setup named at launch is there to be logged; without one only /G starts.
bool HeadlessLogger::startInstruments(LoggingSession &session) {
    const bool setupGiven = !options_.commandLine.setupFile.empty();
    if (setupGiven && state_.table.count() == 0) {
        std::cerr << "korvel32: the setup holds no instrument to log\n";
        return false;
    }
    return !(setupGiven || windows_.startAllRequested) || session.startAll();
}

} // namespace korvel
