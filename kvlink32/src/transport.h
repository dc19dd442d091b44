// The TCP side of a connection: creating, connecting and closing the socket
// with the options the instruments expect.
#pragma once

#include "connection.h"

#include <array>
#include <cstdint>

namespace kvlink {

struct Endpoint {
    std::array<uint8_t, 4> address{}; // first dotted number first
    uint16_t port = 0;
};

// Creates a non-blocking stream socket (no linger delay: a close resets the
// connection; 3072-byte buffers), binds it to any local port and starts
// connecting. KVX_OK while the connect is under way; KVX_E_SOCKET when the
// socket cannot be made or bound; a mapped socket error when connect fails.
int32_t startConnect(Connection &connection, const Endpoint &endpoint);

// The socket error of a finished connect attempt (0 when connected), as a
// Windows Sockets number.
int32_t connectResult(const Connection &connection);

// Closes the socket: KVX_OK, or the mapped error of a failed close.
int32_t closeSocket(Connection &connection);

// The pass-through port for a base port: base + 2, wrapped into 1024.. when
// it would leave the port range.
uint32_t passThruPort(uint32_t basePort);

} // namespace kvlink
