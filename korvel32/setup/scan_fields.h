// The two fields an instrument packs into a scan record's msAndDio word: the
// scan's milliseconds in bits 0..15, its digital I/O port in bits 16..23.
#pragma once

#include "kvlink32.h"

#include <cstdint>

namespace korvel {

inline std::uint32_t scanMilliseconds(const ScanRecord &scan) { return scan.msAndDio & 0xFFFFu; }

inline std::uint8_t scanDigitalIo(const ScanRecord &scan) {
    return static_cast<std::uint8_t>((scan.msAndDio >> 16) & 0xFFu);
}

} // namespace korvel
