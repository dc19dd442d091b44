// Listening sockets on loopback addresses, and the port rules of the wire.
#pragma once

#include <string>

namespace korvelsim {

inline constexpr int kIsolatedPort = 4369;

// True for a dotted address inside 127.0.0.0/8: the only network the simulator serves.
bool isLoopbackAddress(const std::string &address);

// The pass-through port that belongs to a base port, wrapped past 65535.
int passThroughPort(int basePort);

// A non-blocking listening socket on address:port (port 0: any free port),
// or -1 with the reason in error.
int openListener(const std::string &address, int port, std::string &error);

int boundPort(int socket);

} // namespace korvelsim
