// The 16-byte message header shared by requests and replies, and reply building.
#pragma once

#include <cstdint>
#include <optional>

#include "byte_order.h"

namespace korvelsim {

inline constexpr std::size_t kHeaderSize = 16;
inline constexpr std::size_t kMaxMessage = 15361;
inline constexpr std::int32_t kErrorReplyCommand = -1;

struct RequestHeader {
    bool magicOk = false;
    std::uint32_t sequence = 0;
    std::int32_t command = 0;
    std::uint32_t length = 0;
};

// Reads the header at the start of a buffer holding at least kHeaderSize bytes.
RequestHeader parseHeader(const std::uint8_t *bytes);

// A whole reply: header (magic, sequence, command, length) then payload.
// lengthOverride replaces the announced total length (a faulty instrument).
Bytes buildReply(std::uint32_t sequence, std::int32_t command, const Bytes &payload,
                 std::optional<std::uint32_t> lengthOverride = std::nullopt);

} // namespace korvelsim
