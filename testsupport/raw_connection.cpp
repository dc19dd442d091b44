#include "raw_connection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace kvtest {

namespace {

constexpr std::size_t kHeaderSize = 16;

int connectTo(const std::string &address, int port, int &error) {
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &remote.sin_addr) != 1) {
        throw std::runtime_error("not an address: " + address);
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connect(fd, reinterpret_cast<const sockaddr *>(&remote), sizeof remote) != 0) {
        error = errno;
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void appendBigEndian(Bytes &out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t bigEndianAt(const Bytes &bytes, std::size_t offset) {
    return (std::uint32_t{bytes.at(offset)} << 24) | (std::uint32_t{bytes.at(offset + 1)} << 16) |
           (std::uint32_t{bytes.at(offset + 2)} << 8) | bytes.at(offset + 3);
}

std::string toHex(const Bytes &bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

Bytes fromHex(const std::string &hex) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

Bytes frameRequest(std::uint32_t sequence, std::int32_t command, const Bytes &payload) {
    Bytes message{'K', 'V', 'E', 'X'};
    appendBigEndian(message, sequence);
    appendBigEndian(message, static_cast<std::uint32_t>(command));
    appendBigEndian(message, static_cast<std::uint32_t>(kHeaderSize + payload.size()));
    message.insert(message.end(), payload.begin(), payload.end());
    return message;
}

bool connectionRefused(const std::string &address, int port) {
    int error = 0;
    const int fd = connectTo(address, port, error);
    if (fd >= 0) {
        close(fd);
    }
    return fd < 0 && error == ECONNREFUSED;
}

RawConnection::RawConnection(const std::string &address, int port) {
    int error = 0;
    socket_ = connectTo(address, port, error);
    if (socket_ < 0) {
        throw std::runtime_error("cannot connect to " + address + ":" + std::to_string(port) + " (errno " +
                                 std::to_string(error) + ")");
    }
}

RawConnection::~RawConnection() { close(socket_); }

void RawConnection::send(const Bytes &bytes) {
    if (::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("send to the simulator failed");
    }
}

Bytes RawConnection::receive(std::size_t count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    Bytes bytes;
    while (bytes.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        pollfd watched{socket_, POLLIN, 0};
        if (left <= 0 || poll(&watched, 1, static_cast<int>(left)) <= 0) {
            break;
        }
        std::uint8_t buffer[4096];
        const ssize_t n = recv(socket_, buffer, std::min(sizeof buffer, count - bytes.size()), 0);
        if (n <= 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

Bytes RawConnection::receiveMessage(int timeoutMs) {
    Bytes message = receive(kHeaderSize, timeoutMs);
    if (message.size() < kHeaderSize) {
        return {};
    }
    const std::size_t length = bigEndianAt(message, 12);
    if (length > kHeaderSize) {
        const Bytes payload = receive(length - kHeaderSize, timeoutMs);
        message.insert(message.end(), payload.begin(), payload.end());
    }
    return message;
}

bool RawConnection::closedByPeer(int timeoutMs) {
    pollfd watched{socket_, POLLIN, 0};
    if (poll(&watched, 1, timeoutMs) <= 0) {
        return false;
    }
    std::uint8_t byte;
    return recv(socket_, &byte, 1, MSG_PEEK) <= 0;
}

Bytes RawConnection::exchange(std::uint32_t sequence, std::int32_t command, const Bytes &payload, int timeoutMs) {
    send(frameRequest(sequence, command, payload));
    return receiveMessage(timeoutMs);
}

} // namespace kvtest
