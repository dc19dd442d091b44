#include "faults.h"

namespace korvelsim {

std::optional<std::int32_t> Faults::takeError(std::int32_t command) {
    if (!error || (error->command && *error->command != command)) {
        return std::nullopt;
    }
    const std::int32_t code = error->code;
    if (error->remaining && --*error->remaining <= 0) {
        error.reset();
    }
    return code;
}

bool Faults::takeCloseAfter() {
    if (!closeAfter || --*closeAfter > 0) {
        return false;
    }
    closeAfter.reset();
    return true;
}

bool Faults::takeForeignReply() {
    if (foreignReplies <= 0) {
        return false;
    }
    --foreignReplies;
    return true;
}

std::optional<std::uint32_t> Faults::takeBadLength() {
    const auto length = badLength;
    badLength.reset();
    return length;
}

std::optional<Bytes> Faults::takePayload() {
    auto raw = std::move(payload);
    payload.reset();
    return raw;
}

int Faults::takeScansBefore(std::int32_t command) {
    if (!scansBefore || scansBefore->command != command) {
        return 0;
    }
    const int count = scansBefore->count;
    scansBefore.reset();
    return count;
}

} // namespace korvelsim
