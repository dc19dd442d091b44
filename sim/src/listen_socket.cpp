#include "listen_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvelsim {

namespace {

constexpr int kBacklog = 32;

bool parseAddress(const std::string &address, in_addr &parsed) {
    return inet_pton(AF_INET, address.c_str(), &parsed) == 1;
}

} // namespace

bool isLoopbackAddress(const std::string &address) {
    in_addr parsed{};
    return parseAddress(address, parsed) && (ntohl(parsed.s_addr) >> 24) == 127;
}

int passThroughPort(int basePort) {
    const int port = basePort + 2;
    return port > 65535 ? port % 65535 + 1023 : port;
}

int openListener(const std::string &address, int port, std::string &error) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!isLoopbackAddress(address) || !parseAddress(address, local.sin_addr)) {
        error = "not a loopback address: " + address;
        return -1;
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    // Reopening after a "refuse" must not wait for old connections to time out.
    const int reuse = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    if (bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0 || listen(fd, kBacklog) != 0) {
        error = address + ":" + std::to_string(port) + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

int boundPort(int socket) {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    getsockname(socket, reinterpret_cast<sockaddr *>(&local), &size);
    return ntohs(local.sin_port);
}

} // namespace korvelsim
