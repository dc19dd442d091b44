// Current channels are measured by the instrument as the voltage across
// their shunt: before sending, a copy of the block is rewritten into that
// voltage measurement, and a block read back is turned into currents again.
#pragma once

#include "kvlink32.h"

#include <cstdint>

namespace kvlink {

// Rewrites every Current channel of an already validated block: the current
// range moves to aux, range becomes a VDC range, M and B scale the voltage.
// 0, or the detail code of a scaling that leaves the float range.
int32_t convertCurrentChannels(InstrumentConfig &config);

// The reverse, for a block read from an instrument.
void restoreCurrentChannels(InstrumentConfig &config);

} // namespace kvlink
