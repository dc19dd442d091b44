#include "headless_logger.h"

#include "logging_deadline.h"
#include "logging_session.h"
#include "platform/termination_signals.h"

#include <iostream>

namespace korvel {

HeadlessLogger::HeadlessLogger(const HeadlessOptions &options, std::ostream &statusOut)
        : options_(options), statusOut_(statusOut), ui_(options.answers), paths_(StartupPaths::ofThisProcess()),
          startup_(state_.startupTarget(), windows_, ui_, options.commandLine, paths_) {}

int HeadlessLogger::run() {
    if (!startup_.start()) return 1;
    const int status = logSetup();
    startup_.shutDown();
    return status;
}

// The session and its data files end before shutdown stops the library.
int HeadlessLogger::logSetup() {
    const CommandLine &commandLine = options_.commandLine;
    // Under remote control the instruments start when a command says so,
    // unless /G starts them all at once.
    const bool remoteControl = startup_.toolboxEnabled() && !commandLine.startAll;
    if (!remoteControl && commandLine.setupFile.empty() && !commandLine.startAll) {
        // Without windows or the toolbox nothing else could ever start a run.
        std::cerr << "korvel32: nothing to log: name a setup file or give /G\n" << kHeadlessUsage;
        return kHeadlessUsageError;
    }
    if (remoteControl) std::cerr << "korvel32: waiting for remote commands from the toolbox add-on\n";
    LoggingSession session(state_.sessionTarget(paths_.programDirectory), ui_, clock_, statusOut_);
    const bool started = remoteControl || startInstruments(session);
    if (started) {
        LoggingDeadline deadline(options_.durationSeconds);
        deadline.started(std::chrono::steady_clock::now());
        session.runUntil([&] {
            const auto now = std::chrono::steady_clock::now();
            return terminationRequested() || deadline.passed(now, session.scansRead());
        });
    }
    session.stopAll();
    return started ? 0 : 1;
}

// Both the setup named at launch and /G's Start All are there to log: with no
// instrument nothing ever would.
bool HeadlessLogger::startInstruments(LoggingSession &session) {
    if (state_.table.count() == 0) {
        std::cerr << "korvel32: the setup holds no instrument to log\n";
        return false;
    }
    return session.startAll();
}

} // namespace korvel
