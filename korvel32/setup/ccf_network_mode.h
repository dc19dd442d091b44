// Making sure the communications configuration exists, as start-up and the
// dialogs that list its instruments do before they read it.
#pragma once

#include <string>

namespace korvel {

class InstrumentLink;

// The marker file in the program directory that asks for a general network
// when ccf.cfg is first created.
inline constexpr const char *kGeneralNetworkMarker = "general.txt";

// The network mode of ccf.cfg; when the file does not exist yet it is created
// in mode 4 if general.txt lies in the program directory, else in mode 2. A
// negative library code when the mode cannot be read or set up.
int readOrCreateNetworkMode(InstrumentLink &link, const std::string &programDirectory);

} // namespace korvel
