// Start-up and shutdown without windows: every window step does nothing, and
// the /G switch's Start All is remembered for the main loop to carry out.
#pragma once

#include "acquisition/application_startup.h"

namespace korvel {

class HeadlessWindowSteps : public StartupWindowSteps {
public:
    void startAllInstruments() override { startAllRequested = true; }

    bool startAllRequested = false;
};

} // namespace korvel
