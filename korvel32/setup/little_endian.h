// Little-endian fields of the setup file's fixed records, read and written at
// explicit offsets so that no struct layout or padding leaks into the file.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace korvel::le {

using Bytes = std::span<std::uint8_t>;
using ConstBytes = std::span<const std::uint8_t>;

inline void putU8(Bytes out, std::size_t offset, std::uint8_t value) { out[offset] = value; }

inline void putU16(Bytes out, std::size_t offset, std::uint16_t value) {
    out[offset] = static_cast<std::uint8_t>(value);
    out[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void putU32(Bytes out, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void putU64(Bytes out, std::size_t offset, std::uint64_t value) {
    for (std::size_t i = 0; i < 8; ++i) out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void putI16(Bytes out, std::size_t offset, std::int16_t value) {
    putU16(out, offset, static_cast<std::uint16_t>(value));
}

inline void putFloat(Bytes out, std::size_t offset, float value) {
    putU32(out, offset, std::bit_cast<std::uint32_t>(value));
}

inline void putDouble(Bytes out, std::size_t offset, double value) {
    putU64(out, offset, std::bit_cast<std::uint64_t>(value));
}

// A zero-terminated text in a field of fieldSize bytes; a longer text is cut
// so that the terminator always fits.
inline void putText(Bytes out, std::size_t offset, std::size_t fieldSize, const std::string &text) {
    const std::size_t length = std::min(text.size(), fieldSize - 1);
    std::memcpy(out.data() + offset, text.data(), length);
    std::memset(out.data() + offset + length, 0, fieldSize - length);
}

inline std::uint8_t getU8(ConstBytes in, std::size_t offset) { return in[offset]; }

inline std::uint16_t getU16(ConstBytes in, std::size_t offset) {
    return static_cast<std::uint16_t>(in[offset] | (in[offset + 1] << 8));
}

inline std::uint32_t getU32(ConstBytes in, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{in[offset + i]} << (8 * i);
    return value;
}

inline std::uint64_t getU64(ConstBytes in, std::size_t offset) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) value |= std::uint64_t{in[offset + i]} << (8 * i);
    return value;
}

inline std::int16_t getI16(ConstBytes in, std::size_t offset) { return static_cast<std::int16_t>(getU16(in, offset)); }

inline float getFloat(ConstBytes in, std::size_t offset) { return std::bit_cast<float>(getU32(in, offset)); }

inline double getDouble(ConstBytes in, std::size_t offset) { return std::bit_cast<double>(getU64(in, offset)); }

// The text up to its terminator; a field without one gives at most
// fieldSize - 1 characters, as a fixed field holds no more.
inline std::string getText(ConstBytes in, std::size_t offset, std::size_t fieldSize) {
    const auto *begin = reinterpret_cast<const char *>(in.data() + offset);
    const std::size_t length = strnlen(begin, fieldSize - 1);
    return std::string(begin, length);
}

} // namespace korvel::le
