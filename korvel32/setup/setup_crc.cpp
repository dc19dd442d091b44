#include "setup/setup_crc.h"

#include <array>

namespace korvel {

namespace {

constexpr std::array<std::uint16_t, 256> makeTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        std::uint16_t crc = static_cast<std::uint16_t>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>((crc & 1) != 0 ? (crc >> 1) ^ 0xA001 : crc >> 1);
        }
        table[byte] = crc;
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kTable = makeTable();

} // namespace

void SetupCrc::update(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        value_ = static_cast<std::uint16_t>((value_ >> 8) ^ kTable[(value_ ^ byte) & 0xFF]);
    }
}

} // namespace korvel
