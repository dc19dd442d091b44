// Reads a record-form setup file front to back, never past its end, and
// keeps the running CRC of every byte taken.
#pragma once

#include "setup/setup_crc.h"

#include <cstdint>
#include <optional>
#include <span>

namespace korvel {

class RecordStream {
public:
    explicit RecordStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // The next size bytes, or none when fewer are left.
    template <std::size_t Size>
    std::optional<std::span<const std::uint8_t, Size>> take() {
        const auto bytes = take(Size);
        if (!bytes) return std::nullopt;
        return std::span<const std::uint8_t, Size>(bytes->data(), Size);
    }

    std::optional<std::span<const std::uint8_t>> take(std::size_t size) {
        if (bytes_.size() - position_ < size) return std::nullopt;
        const auto bytes = bytes_.subspan(position_, size);
        position_ += size;
        crc_.update(bytes);
        return bytes;
    }

    std::uint16_t crc() const { return crc_.value(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    SetupCrc crc_;
};

} // namespace korvel
