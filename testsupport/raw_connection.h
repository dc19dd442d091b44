// A plain TCP client for talking raw wire bytes to the simulator, without
// the library: tests build requests and read replies byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

using Bytes = std::vector<std::uint8_t>;

void appendBigEndian(Bytes &out, std::uint32_t value);
std::uint32_t bigEndianAt(const Bytes &bytes, std::size_t offset);
std::string toHex(const Bytes &bytes);
Bytes fromHex(const std::string &hex);

// A request as the library frames it: "KVEX", sequence, command, total length, payload.
Bytes frameRequest(std::uint32_t sequence, std::int32_t command, const Bytes &payload = {});

// True when a connect to address:port is refused (nothing listens).
bool connectionRefused(const std::string &address, int port);

class RawConnection {
public:
    RawConnection(const std::string &address, int port); // throws std::runtime_error
    ~RawConnection();
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;

    void send(const Bytes &bytes);
    // Up to count bytes: fewer when the time runs out or the peer closes.
    Bytes receive(std::size_t count, int timeoutMs);
    // One whole message by the length in its header; empty on time-out or close.
    Bytes receiveMessage(int timeoutMs);
    // True when the peer closes the connection within the time.
    bool closedByPeer(int timeoutMs);
    // Sends a request and returns the reply message.
    Bytes exchange(std::uint32_t sequence, std::int32_t command, const Bytes &payload = {}, int timeoutMs = 5000);

private:
    int socket_ = -1;
};

} // namespace kvtest
