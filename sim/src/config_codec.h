// The configuration block on the wire: field by field in network order, and
// for type 2 the equation area token by token.
#pragma once

#include <cstddef>

#include "byte_order.h"
#include "kvlink32.h"

namespace korvelsim {

inline constexpr std::size_t kConfigWithoutEquations = 1492;
inline constexpr std::size_t kConfigWithEquations = 2492;

Bytes encodeConfig(const InstrumentConfig &config, bool withEquations);

// payload holds exactly 1492 bytes (without equations) or 2492 (with them);
// without equations the stored equation area is left as it is.
void decodeConfig(const std::uint8_t *payload, bool withEquations, InstrumentConfig &config);

} // namespace korvelsim
