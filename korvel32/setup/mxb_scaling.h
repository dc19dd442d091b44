// The Mx+B rule shared by the Mx+B dialog and Mx+B files: a factor and an
// offset that would change nothing switch scaling off.
#pragma once

#include "setup/instrument_setup.h"

namespace korvel {

// Enables Mx+B with m and b, unless 0.99999 < m < 1.00001 and -1e-8 < b < 1e-8;
// then scaling is disabled with M = 1 and B = 0.
void setMxbScaling(ChannelSetup &channel, double m, double b);

} // namespace korvel
