#include "platform/local_client.h"

#include "platform/local_service_directory.h"
#include "platform/local_socket.h"

#include <cerrno>
#include <chrono>
#include <system_error>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvel {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kConnectBoundMs = 3000;
constexpr useconds_t kConnectRetryUs = 10000;

// What is left of a bound of timeoutMs that began at start; -1 stays unbounded.
int remainingMs(SteadyClock::time_point start, int timeoutMs) {
    if (timeoutMs < 0) return -1;
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
    return spent >= timeoutMs ? 0 : timeoutMs - static_cast<int>(spent);
}

} // namespace

LocalClient::LocalClient(const std::string &name, std::size_t maxLineBytes) : input_(maxLineBytes) {
    const std::string path = localServicePath(name);
    const sockaddr_un address = localSocketAddress(path);
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "cannot create a socket");
    // A service too busy to take connections fills its backlog; a blocking
    // connect would then wait without end.
    const auto start = SteadyClock::now();
    int result = 0;
    while ((result = ::connect(fd_, reinterpret_cast<const sockaddr *>(&address), sizeof(address))) != 0 &&
           errno == EAGAIN && remainingMs(start, kConnectBoundMs) > 0)
        ::usleep(kConnectRetryUs);
    if (result != 0) {
        const int error = errno;
        ::close(fd_);
        throw std::system_error(error, std::generic_category(), "cannot connect to " + path);
    }
    if (!peerIsSameUser(fd_)) {
        ::close(fd_);
        throw std::system_error(EACCES, std::generic_category(), path + " is served by another user");
    }
}

LocalClient::~LocalClient() { ::close(fd_); }

bool LocalClient::sendLine(std::string_view line, int timeoutMs) {
    std::string bytes(line);
    bytes.push_back('\n');
    const auto start = SteadyClock::now();
    for (std::size_t sent = 0; sent < bytes.size();) {
        pollfd entry{fd_, POLLOUT, 0};
        if (::poll(&entry, 1, remainingMs(start, timeoutMs)) <= 0) return false;
        const ssize_t written = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

LocalClient::Read LocalClient::readLine(std::string &line, int timeoutMs) {
    const auto start = SteadyClock::now();
    for (;;) {
        if (auto next = input_.nextLine()) {
            line = std::move(*next);
            return Read::Line;
        }
        if (closed_) return Read::Closed;
        pollfd entry{fd_, POLLIN, 0};
        const int ready = ::poll(&entry, 1, remainingMs(start, timeoutMs));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return Read::TimedOut;
        char chunk[16384];
        const ssize_t got = ready < 0 ? -1 : ::recv(fd_, chunk, sizeof(chunk), MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (got <= 0 || !input_.append(chunk, static_cast<std::size_t>(got))) closed_ = true;
    }
}

} // namespace korvel
