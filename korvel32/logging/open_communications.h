// Opening communications with one instrument: the connection, the identity
// checks and, as logging starts, the status and self-test questions.
#pragma once

#include "link/instrument_link.h"
#include "platform/user_interface.h"

namespace korvel {

enum class OpenMode {
    Silent = 0,      // failures are only returned
    ShowErrors = 1,  // failures are shown
    StartChecks = 2, // failures are shown and the instrument's own problems are asked about
};

// True when the instrument is connected, is the one configured for this BCN,
// and has been told to stop scanning and is idle. On false nothing is left
// open.
bool openCommunications(InstrumentLink &link, unsigned bcn, OpenMode mode, UserInterface &ui);

} // namespace korvel
