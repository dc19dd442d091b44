#include "server.h"

#include <algorithm>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "frame.h"
#include "listen_socket.h"
#include "request_handler.h"

namespace korvelsim {

namespace {

constexpr int kPortAttempts = 64;
constexpr auto kBytewiseGap = std::chrono::milliseconds(1);
constexpr std::size_t kReadChunk = 4096;
constexpr std::chrono::milliseconds kLongestWait{60000};

void closeSocket(int &fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

void writeLine(const std::string &line) {
    const std::string text = line + "\n";
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(STDOUT_FILENO, text.data() + written, text.size() - written);
        if (n <= 0 && errno != EINTR) {
            return;
        }
        written += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

} // namespace

Server::Server(std::vector<SimInstrument> &instruments) : instruments_(instruments) {
    for (SimInstrument &instrument : instruments_) {
        endpoints_.push_back({&instrument});
    }
}

Server::~Server() {
    closeListeners();
    for (Connection &connection : connections_) {
        close(connection.socket);
    }
}

bool Server::listen(int port, std::string &error) {
    if (instruments_.empty()) {
        return true; // a calibration port alone
    }
    if (port != 0) {
        return bindAll(port, error);
    }
    // Ask the system for a free port on the first address, then check that it
    // and its pass-through port are free on every other address too.
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        const int probe = openListener(instruments_.front().address, 0, error);
        if (probe < 0) {
            return false;
        }
        const int candidate = boundPort(probe);
        close(probe);
        if (bindAll(candidate, error)) {
            return true;
        }
    }
    error = "no base port free on every address: " + error;
    return false;
}

bool Server::bindAll(int port, std::string &error) {
    for (Endpoint &endpoint : endpoints_) {
        endpoint.mainSocket = openListener(endpoint.instrument->address, port, error);
        endpoint.passThruSocket =
            endpoint.mainSocket < 0 ? -1 : openListener(endpoint.instrument->address, passThroughPort(port), error);
        if (endpoint.passThruSocket < 0) {
            closeListeners();
            return false;
        }
    }
    basePort_ = port;
    for (Endpoint &endpoint : endpoints_) {
        if (endpoint.refused) {
            refuse(*endpoint.instrument);
        }
    }
    return true;
}

void Server::closeListeners() {
    for (Endpoint &endpoint : endpoints_) {
        closeSocket(endpoint.mainSocket);
        closeSocket(endpoint.passThruSocket);
    }
}

Server::Endpoint *Server::endpointOf(const SimInstrument &instrument) {
    const auto found = std::find_if(endpoints_.begin(), endpoints_.end(),
                                    [&](const Endpoint &endpoint) { return endpoint.instrument == &instrument; });
    return found == endpoints_.end() ? nullptr : &*found;
}

void Server::refuse(const SimInstrument &instrument) {
    if (Endpoint *endpoint = endpointOf(instrument)) {
        endpoint->refused = true;
        closeSocket(endpoint->mainSocket);
        closeSocket(endpoint->passThruSocket);
    }
}

bool Server::reopen(const SimInstrument &instrument, std::string &error) {
    Endpoint *endpoint = endpointOf(instrument);
    if (!endpoint) {
        return false;
    }
    endpoint->refused = false;
    if (basePort_ == 0) {
        return true; // not listening yet: listen() opens it
    }
    if (endpoint->mainSocket < 0) {
        endpoint->mainSocket = openListener(instrument.address, basePort_, error);
    }
    if (endpoint->passThruSocket < 0) {
        endpoint->passThruSocket = openListener(instrument.address, passThroughPort(basePort_), error);
    }
    return endpoint->mainSocket >= 0 && endpoint->passThruSocket >= 0;
}

int Server::openConnections(const SimInstrument &instrument, Link link) const {
    return static_cast<int>(std::count_if(connections_.begin(), connections_.end(), [&](const Connection &connection) {
        return connection.instrument == &instrument && connection.link == link && !connection.closing;
    }));
}

void Server::dropConnections(const SimInstrument &instrument) {
    for (Connection &connection : connections_) {
        if (connection.instrument == &instrument) {
            connection.closing = true;
        }
    }
}

void Server::advanceInstruments(Clock::time_point now) {
    for (SimInstrument &instrument : instruments_) {
        instrument.device.advance(now);
    }
}

void Server::run(const ControlHandler &control) {
    bool controlOpen = true;
    while (!quitting_ && controlOpen) {
        advanceInstruments(Clock::now());
        std::vector<pollfd> watched;
        watched.push_back({STDIN_FILENO, POLLIN, 0});
        const Clock::time_point now = Clock::now();
        for (const LoopPeer *peer : peers_) {
            watched.push_back({peer->descriptor(), peer->events(now), 0});
        }
        const std::size_t firstListener = watched.size();
        std::vector<std::pair<int, Link>> listeners;
        std::vector<SimInstrument *> listenerOwners;
        for (const Endpoint &endpoint : endpoints_) {
            for (const auto &[socket, link] :
                 {std::pair{endpoint.mainSocket, Link::Main}, std::pair{endpoint.passThruSocket, Link::PassThru}}) {
                if (socket >= 0) {
                    watched.push_back({socket, POLLIN, 0});
                    listeners.emplace_back(socket, link);
                    listenerOwners.push_back(endpoint.instrument);
                }
            }
        }
        for (const Connection &connection : connections_) {
            const bool due = !connection.pending.empty() && connection.pending.front().notBefore <= now &&
                             !connection.instrument->faults.paused;
            watched.push_back({connection.socket, static_cast<short>(due ? POLLIN | POLLOUT : POLLIN), 0});
        }
        if (poll(watched.data(), watched.size(), pollTimeoutMs(now)) < 0 && errno != EINTR) {
            return;
        }
        for (std::size_t i = 0; i < peers_.size(); ++i) {
            peers_[i]->serve(watched[1 + i].revents, Clock::now());
        }
        for (std::size_t i = 0; i < listeners.size(); ++i) {
            if (watched[firstListener + i].revents & POLLIN) {
                acceptOn(listeners[i].first, listeners[i].second, listenerOwners[i]);
            }
        }
        std::size_t index = firstListener + listeners.size();
        for (Connection &connection : connections_) {
            // Connections accepted during this pass are not in the poll set yet.
            if (index < watched.size() && watched[index].fd == connection.socket &&
                (watched[index].revents & ~POLLOUT) != 0) {
                readFrom(connection);
            }
            ++index;
            flush(connection);
        }
        // Last, since a control line may close the listeners polled above.
        if (watched[0].revents != 0) {
            controlOpen = readControl(control);
        }
        connections_.remove_if([](const Connection &connection) {
            if (connection.closing) {
                close(connection.socket);
            }
            return connection.closing;
        });
    }
}

bool Server::readControl(const ControlHandler &control) {
    char buffer[kReadChunk];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        return n < 0 && errno == EINTR;
    }
    controlBuffer_.append(buffer, static_cast<std::size_t>(n));
    std::size_t end;
    while (!quitting_ && (end = controlBuffer_.find('\n')) != std::string::npos) {
        std::string line = controlBuffer_.substr(0, end);
        controlBuffer_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        writeLine(control(line));
    }
    return true;
}

void Server::acceptOn(int listener, Link link, SimInstrument *instrument) {
    const int socket = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (socket < 0) {
        return;
    }
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    connections_.push_back({socket, link, instrument, {}, {}, false});
}

void Server::readFrom(Connection &connection) {
    std::uint8_t buffer[kReadChunk];
    const ssize_t n = recv(connection.socket, buffer, sizeof buffer, 0);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        connection.closing = true;
        return;
    }
    if (n > 0) {
        connection.received.insert(connection.received.end(), buffer, buffer + n);
        assembleRequests(connection);
    }
}

void Server::assembleRequests(Connection &connection) {
    while (!connection.closing && connection.received.size() >= kHeaderSize) {
        const RequestHeader header = parseHeader(connection.received.data());
        if (!header.magicOk || header.length < kHeaderSize || header.length > kMaxMessage) {
            connection.closing = true; // no way to find the next message boundary
            return;
        }
        if (connection.received.size() < header.length) {
            return;
        }
        const auto end = connection.received.begin() + header.length;
        const Bytes request(connection.received.begin(), end);
        connection.received.erase(connection.received.begin(), end);
        Outcome outcome = handleRequest(*connection.instrument, connection.link, request);
        if (outcome.kind == Outcome::Kind::CloseConnection) {
            connection.closing = true;
        } else if (outcome.kind == Outcome::Kind::Answer) {
            connection.pending.push_back({std::move(outcome.bytes), 0, Clock::now() + outcome.delay, outcome.bytewise});
        }
    }
}

void Server::flush(Connection &connection) {
    while (!connection.closing && !connection.pending.empty() && !connection.instrument->faults.paused) {
        Chunk &chunk = connection.pending.front();
        const Clock::time_point now = Clock::now();
        if (now < chunk.notBefore) {
            return;
        }
        const std::size_t wanted = chunk.bytewise ? 1 : chunk.bytes.size() - chunk.sent;
        const ssize_t n = send(connection.socket, chunk.bytes.data() + chunk.sent, wanted, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno != EAGAIN && errno != EINTR) {
                connection.closing = true;
            }
            return;
        }
        chunk.sent += static_cast<std::size_t>(n);
        if (chunk.sent == chunk.bytes.size()) {
            connection.pending.pop_front();
        } else if (chunk.bytewise) {
            chunk.notBefore = now + kBytewiseGap;
        }
    }
}

// Replies already due wait for POLLOUT instead; held-back replies and the
// next scan or alarm check of any instrument set the timeout.
int Server::pollTimeoutMs(Clock::time_point now) const {
    std::optional<Clock::time_point> next;
    const auto consider = [&next](Clock::time_point due) { next = next ? std::min(*next, due) : due; };
    for (const Connection &connection : connections_) {
        if (!connection.pending.empty() && connection.pending.front().notBefore > now) {
            consider(connection.pending.front().notBefore);
        }
    }
    for (const SimInstrument &instrument : instruments_) {
        if (const auto due = instrument.device.nextEvent()) {
            consider(std::max(*due, now));
        }
    }
    for (const LoopPeer *peer : peers_) {
        if (const auto due = peer->nextDue(); due && *due > now) {
            consider(*due);
        }
    }
    if (!next) {
        return -1;
    }
    // Bounded, so that a start set far ahead cannot overflow the timeout.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now);
    return static_cast<int>(std::min(wait, kLongestWait).count());
}

} // namespace korvelsim
