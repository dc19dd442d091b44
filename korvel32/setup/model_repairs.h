// Ranges a model does not have, changed to the nearest one it has, so that a
// setup saved for one model still downloads to the other.
#pragma once

#include "setup/instrument_setup.h"

namespace korvel {

// "50 V" and "150/300 V" DC swap with the model.
void repairVdcRange(ChannelSetup &channel, ModelCode model);
// Every repair for a channel of a loaded setup.
void repairForModel(ChannelSetup &channel, ModelCode model);

} // namespace korvel
