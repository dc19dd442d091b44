// The logger for a machine without a display: the same engine and tick loop
// as the windowed program, messages printed, questions answered by option.
#pragma once

#include <string>
#include <vector>

namespace korvel {

// arguments: the command line without the program name. Returns the exit
// status: 0 after a clean stop, 1 when start-up or a start failed, 2 for a
// command line it cannot use.
int runHeadless(const std::vector<std::string> &arguments);

} // namespace korvel
