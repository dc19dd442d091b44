// SIGINT, SIGTERM and SIGHUP ask the headless logger to stop all instruments
// and exit; the handler only raises a flag that the main loop polls.
#pragma once

namespace korvel {

void catchTerminationSignals();
bool terminationRequested();

} // namespace korvel
