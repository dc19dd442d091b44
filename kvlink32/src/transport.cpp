#include "transport.h"

#include "socket_errors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kvlink {
namespace {

constexpr int kSocketBufferBytes = 3072;

bool setOptions(int fd) {
    const linger noLingerDelay{1, 0};
    const int bufferBytes = kSocketBufferBytes;
    return setsockopt(fd, SOL_SOCKET, SO_LINGER, &noLingerDelay, sizeof noLingerDelay) == 0 &&
           setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes) == 0 &&
           setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bufferBytes, sizeof bufferBytes) == 0 &&
           fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) == 0;
}

} // namespace

Connection::~Connection() {
    if (socket >= 0) ::close(socket);
}

int32_t startConnect(Connection &connection, const Endpoint &endpoint) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) return KVX_E_SOCKET;
    connection.socket = fd;

    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (!setOptions(fd) || ::bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
        closeSocket(connection);
        return KVX_E_SOCKET;
    }

    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    std::memcpy(&remote.sin_addr.s_addr, endpoint.address.data(), 4);
    remote.sin_port = htons(endpoint.port);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&remote), sizeof remote) != 0 && errno != EINPROGRESS) {
        const int32_t error = winsockError(errno);
        closeSocket(connection);
        return mapRecordedError(error);
    }
    return KVX_OK;
}

int32_t connectResult(const Connection &connection) {
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(connection.socket, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return winsockError(errno);
    return error == 0 ? 0 : winsockError(error);
}

int32_t closeSocket(Connection &connection) {
    if (connection.socket < 0) return KVX_OK;
    const int fd = connection.socket;
    connection.socket = -1;
    return ::close(fd) == 0 ? KVX_OK : mapRecordedError(winsockError(errno));
}

uint32_t passThruPort(uint32_t basePort) {
    const uint32_t port = basePort + 2;
    return port > 65535 ? port % 65535 + 1023 : port;
}

} // namespace kvlink
