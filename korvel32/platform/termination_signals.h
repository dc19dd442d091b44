// SIGINT, SIGTERM and SIGHUP ask a program without a window to end as it
// would by itself (the headless logger stops all instruments first, a
// client that follows the logger prints what has come in); the handler only
// raises a flag that the program's loop polls.
#pragma once

namespace korvel {

void catchTerminationSignals();
bool terminationRequested();

} // namespace korvel
