#include "frame.h"

#include <cstring>

namespace korvelsim {

namespace {
constexpr char kMagic[4] = {'K', 'V', 'E', 'X'};
}

RequestHeader parseHeader(const std::uint8_t *bytes) {
    RequestHeader header;
    header.magicOk = std::memcmp(bytes, kMagic, sizeof kMagic) == 0;
    header.sequence = readU32(bytes + 4);
    header.command = readI32(bytes + 8);
    header.length = readU32(bytes + 12);
    return header;
}

Bytes buildReply(std::uint32_t sequence, std::int32_t command, const Bytes &payload,
                 std::optional<std::uint32_t> lengthOverride) {
    Bytes message(kMagic, kMagic + sizeof kMagic);
    appendU32(message, sequence);
    appendI32(message, command);
    appendU32(message, lengthOverride.value_or(static_cast<std::uint32_t>(kHeaderSize + payload.size())));
    message.insert(message.end(), payload.begin(), payload.end());
    return message;
}

} // namespace korvelsim
