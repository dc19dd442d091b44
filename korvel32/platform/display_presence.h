// Whether a windowed start would find a display, decided before any window
// system is touched, the way Qt chooses and opens its platform on Linux: the
// platform named by -platform or QT_QPA_PLATFORM (a ';'-separated list, each
// tried in turn), else X11 or Wayland, whichever has a display set.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace korvel {

// The value of an environment variable, empty when it is not set.
using EnvironmentLookup = std::function<std::string(const char *name)>;

std::string processEnvironment(const char *name);

// arguments: the command line without the program name.
bool displayAvailable(const std::vector<std::string> &arguments,
                      const EnvironmentLookup &environment = processEnvironment);

} // namespace korvel
