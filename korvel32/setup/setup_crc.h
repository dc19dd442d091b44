// The running check of a setup file: CRC-16 with the reflected polynomial
// 0xA001, initial value 0xFFFF and no final inversion. Appended low byte
// first it makes the CRC over the whole file zero.
#pragma once

#include <cstdint>
#include <span>

namespace korvel {

class SetupCrc {
public:
    void update(std::span<const std::uint8_t> bytes);
    std::uint16_t value() const { return value_; }

private:
    std::uint16_t value_ = 0xFFFF;
};

} // namespace korvel
