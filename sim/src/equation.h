// Evaluates a computed channel's postfix byte code as the instrument does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "kvlink32.h"

namespace korvelsim {

// readings[n - 1] is channel n's reading of this scan. The byte code starts
// at offset in the equation area (host order operands, as stored). A code the
// instrument does not know, a stack that runs short or a code that runs past
// the area give a quiet NaN, as for an unreadable input.
float evaluateEquation(const std::uint8_t (&area)[KVX_EQUATION_AREA], std::size_t offset,
                       const std::array<float, KVX_MAX_CHANNELS> &readings);

} // namespace korvelsim
