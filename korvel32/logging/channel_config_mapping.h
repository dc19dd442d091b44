// How one channel of the setup is described to the instrument: the function,
// range, wiring, alarm and scaling fields of its ChannelConfig.
#pragma once

#include "kvlink32.h"
#include "setup/instrument_setup.h"

namespace korvel {

// Fills every field of the channel's ChannelConfig but an Equation channel's
// byte-code offset, which depends on the channels compiled before it.
ChannelConfig channelConfigOf(const ChannelSetup &channel);

} // namespace korvel
