// Big-endian field helpers: every int and float on the wire travels most
// significant byte first, whatever the host order is.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvelsim {

using Bytes = std::vector<std::uint8_t>;

inline void appendU32(Bytes &out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline void appendI32(Bytes &out, std::int32_t value) { appendU32(out, static_cast<std::uint32_t>(value)); }

inline void appendFloat(Bytes &out, float value) { appendU32(out, std::bit_cast<std::uint32_t>(value)); }

inline std::uint32_t readU32(const std::uint8_t *p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

inline std::int32_t readI32(const std::uint8_t *p) { return static_cast<std::int32_t>(readU32(p)); }

inline float readFloat(const std::uint8_t *p) { return std::bit_cast<float>(readU32(p)); }

inline std::uint16_t readU16(const std::uint8_t *p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

} // namespace korvelsim
