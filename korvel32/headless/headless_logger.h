// The headless logger's life: start-up, Start All (or, with the toolbox
// loaded, the toolbox's remote commands), logging until a deadline or a
// termination signal, Stop All with the last scans drained, shutdown.
#pragma once

#include "app/application_startup.h"
#include "app/application_state.h"
#include "headless_options.h"
#include "headless_startup_steps.h"
#include "platform/clock.h"
#include "platform/printing_user_interface.h"

#include <iosfwd>

namespace korvel {

class LoggingSession;

class HeadlessLogger {
public:
    HeadlessLogger(const HeadlessOptions &options, std::ostream &statusOut);

    // The process's exit status: 0 when start-up and every start succeeded.
    int run();

private:
    int logSetup();
    bool startInstruments(LoggingSession &session);

    HeadlessOptions options_;
    std::ostream &statusOut_;
    PrintingUserInterface ui_;
    SystemClock clock_;
    InstrumentLink link_;
    ToolboxSetupHost setupHost_;
    ApplicationState state_{link_, setupHost_, ui_};
    HeadlessStartupSteps windows_{state_.liveValues, options_.serviceName};
    StartupPaths paths_;
    ApplicationStartup startup_;
};

} // namespace korvel
