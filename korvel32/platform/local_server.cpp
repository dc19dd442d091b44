#include "platform/local_server.h"

#include "platform/local_name_claim.h"
#include "platform/local_service_directory.h"
#include "platform/local_socket.h"

#include <cerrno>
#include <system_error>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {
namespace {

constexpr int kBacklog = 16;
constexpr std::size_t kReadChunk = 16384;
// Bytes taken from one client per serve(), so that a busy client cannot
// starve the others.
constexpr std::size_t kReadPerServe = 65536;

[[noreturn]] void fail(int error, const std::string &what) {
    throw std::system_error(error, std::generic_category(), what);
}

// A socket left by a process that ended goes; anything else at the path stays
// and the name is refused.
void removeStaleSocket(const std::string &path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) return;
        fail(errno, "cannot examine " + path);
    }
    if (!S_ISSOCK(status.st_mode)) fail(EEXIST, path + " exists and is not a socket");
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail(errno, "cannot remove the old socket " + path);
}

// A name that does not fit a socket address fails before anything is touched.
LocalNameClaim claimFittingName(const std::string &path) {
    localSocketAddress(path);
    return LocalNameClaim::claim(path);
}

int listenAt(const std::string &path) {
    const sockaddr_un address = localSocketAddress(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) fail(errno, "cannot create a socket");
    // The directory keeps others out already; the socket's own mode says the same.
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, kBacklog) != 0) {
        const int error = errno;
        ::close(fd);
        fail(error, "cannot listen at " + path);
    }
    return fd;
}

} // namespace

LocalServer::LocalServer(const std::string &name, LocalServerHandler &handler, LocalServerLimits limits)
        : handler_(handler), limits_(limits), path_(privateLocalServiceDirectory() + "/" + name),
          claim_(claimFittingName(path_)) {
    removeStaleSocket(path_);
    listenFd_ = listenAt(path_);
}

LocalServer::~LocalServer() {
    for (auto &[id, connection] : connections_) ::close(connection.fd);
    ::close(listenFd_);
    ::unlink(path_.c_str());
}

void LocalServer::appendDescriptors(std::vector<pollfd> &descriptors) const {
    descriptors.push_back({listenFd_, POLLIN, 0});
    for (const auto &[id, connection] : connections_) {
        short events = connection.closing ? 0 : POLLIN;
        if (connection.output.size() > connection.outputStart) events |= POLLOUT;
        descriptors.push_back({connection.fd, events, 0});
    }
}

void LocalServer::serve(const std::vector<pollfd> &polled) {
    std::vector<std::pair<LocalConnectionId, short>> ready;
    for (const pollfd &entry : polled) {
        if (entry.revents == 0) continue;
        if (entry.fd == listenFd_) {
            acceptConnections();
            continue;
        }
        for (const auto &[id, connection] : connections_)
            if (connection.fd == entry.fd) ready.emplace_back(id, entry.revents);
    }
    // The handler may drop connections while we go, so each is looked up afresh.
    for (const auto &[id, revents] : ready) {
        // A hang-up shows up as a failed write when output is still owed.
        if ((revents & (POLLOUT | POLLHUP | POLLERR)) && !writeTo(id)) continue;
        if (revents & (POLLIN | POLLHUP | POLLERR)) readFrom(id);
    }
}

void LocalServer::acceptConnections() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return; // EAGAIN, or a client that went before we took it
        if (!peerIsSameUser(fd)) {
            ::close(fd);
            continue;
        }
        if (connections_.size() >= limits_.maxConnections) {
            turnAway(fd);
            continue;
        }
        const LocalConnectionId id = nextId_++;
        connections_.emplace(id, Connection(fd, limits_.maxLineBytes));
        handler_.connected(id);
    }
}

// The refusal goes as far as the socket takes it at once; the client is not waited for.
void LocalServer::turnAway(int fd) const {
    if (!limits_.refusal.empty()) {
        const std::string line = limits_.refusal + "\n";
        [[maybe_unused]] const ssize_t sent = ::send(fd, line.data(), line.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    ::close(fd);
}

void LocalServer::readFrom(LocalConnectionId id) {
    char chunk[kReadChunk];
    for (std::size_t taken = 0; taken < kReadPerServe;) {
        Connection *connection = find(id);
        if (!connection || connection->closing) return;
        const ssize_t got = ::recv(connection->fd, chunk, sizeof(chunk), 0);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (got <= 0) {
            // The client has said all it will: what it is still owed goes out first.
            closeAfterSending(id);
            return;
        }
        taken += static_cast<std::size_t>(got);
        if (!connection->input.append(chunk, static_cast<std::size_t>(got))) {
            drop(id);
            return;
        }
        while (auto line = connection->input.nextLine()) {
            handler_.lineReceived(id, *line);
            connection = find(id);
            if (!connection || connection->closing) return;
        }
    }
}

bool LocalServer::writeTo(LocalConnectionId id) {
    Connection *connection = find(id);
    if (!connection) return false;
    while (connection->outputStart < connection->output.size()) {
        const ssize_t written =
            ::send(connection->fd, connection->output.data() + connection->outputStart,
                   connection->output.size() - connection->outputStart, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written < 0) {
            if (errno == EAGAIN || errno == EINTR) break;
            drop(id);
            return false;
        }
        connection->outputStart += static_cast<std::size_t>(written);
    }
    if (connection->outputStart == connection->output.size()) {
        connection->output.clear();
        connection->outputStart = 0;
        if (connection->closing) {
            drop(id);
            return false;
        }
    } else if (connection->outputStart >= connection->output.size() / 2) {
        connection->output.erase(0, connection->outputStart);
        connection->outputStart = 0;
    }
    return true;
}

bool LocalServer::send(LocalConnectionId id, std::string_view line) {
    Connection *connection = find(id);
    if (!connection) return false;
    const bool wasIdle = connection->output.size() == connection->outputStart;
    if (connection->output.size() - connection->outputStart + line.size() + 1 > limits_.maxPendingBytes) {
        drop(id);
        return false;
    }
    connection->output.append(line);
    connection->output.push_back('\n');
    // Written at once when nothing waits, so that a reading client gets its
    // line without a round through poll().
    return !wasIdle || writeTo(id);
}

void LocalServer::drop(LocalConnectionId id) {
    const auto found = connections_.find(id);
    if (found == connections_.end()) return;
    ::close(found->second.fd);
    connections_.erase(found);
    handler_.disconnected(id);
}

void LocalServer::closeAfterSending(LocalConnectionId id) {
    Connection *connection = find(id);
    if (!connection) return;
    connection->closing = true;
    if (connection->output.size() == connection->outputStart) drop(id);
}

LocalServer::Connection *LocalServer::find(LocalConnectionId id) {
    const auto found = connections_.find(id);
    return found == connections_.end() ? nullptr : &found->second;
}

} // namespace korvel
