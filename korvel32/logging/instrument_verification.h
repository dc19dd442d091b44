// Verify in the communications configuration: whether the instrument of a
// BCN answers as configured and can work with this logger, told to the user
// in one message.
#pragma once

#include "link/instrument_link.h"
#include "platform/user_interface.h"

namespace korvel {

// The instrument check of a logging start (its failures shown by it), then
// the compatibility: outdated on either side (25, 26), successful (1280),
// successful with older software (1290) or interrupted (18). The connection
// is closed again.
void verifyInstrument(InstrumentLink &link, unsigned bcn, UserInterface &ui);

} // namespace korvel
