// The configuration block on the wire: every 32-bit field in network order,
// the RTD alpha as a float or an int as the channel says, and the equation
// area token by token with its operands in network order.
#pragma once

#include "kvlink32.h"
#include "message_codec.h"

#include <cstddef>

namespace kvlink {

// Type 1 travels without the equation area, type 2 with it.
constexpr size_t kConfigPayloadType1 = sizeof(InstrumentConfig) - KVX_EQUATION_AREA;
constexpr size_t kConfigPayloadType2 = sizeof(InstrumentConfig);

bool encodeConfig(MessageWriter &out, const InstrumentConfig &config, bool withEquations);

// Leaves the equation area untouched when it does not travel.
bool decodeConfig(MessageReader &in, InstrumentConfig &config, bool withEquations);

} // namespace kvlink
