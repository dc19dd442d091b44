// One TCP connection of a session with its message buffer, which serves the
// outgoing request and the incoming reply of every exchange in turn.
#pragma once

#include "kvlink32.h"

#include <array>
#include <cstdint>

namespace kvlink {

struct Connection {
    Connection() = default;
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    ~Connection();

    int socket = -1;
    std::array<uint8_t, KVX_MAX_MESSAGE> buffer{};
};

} // namespace kvlink
