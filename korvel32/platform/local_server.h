// A local service's listening side: a Unix-domain socket in the per-user
// directory that accepts only peers of the same user and speaks in lines.
// Every connection is non-blocking and bounded both ways: a request line
// longer than the bound ends its connection, and a client that lets its
// unread output grow beyond the bound is dropped rather than waited for, so
// that whatever loop drives the server never stalls on a client.
//
// The server does nothing by itself: its owner polls descriptors() (together
// with any descriptors of its own) and hands the result to serve(), from the
// logging loop or from a thread of its own.
#pragma once

#include "platform/line_buffer.h"
#include "platform/local_name_claim.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <poll.h>

namespace korvel {

struct LocalServerLimits {
    std::size_t maxLineBytes = 4096;        // a request line, without its "\n"
    std::size_t maxPendingBytes = 1u << 20; // output a client has not taken yet
    std::size_t maxConnections = 32;
    // Said to a client of the same user turned away because maxConnections
    // are connected, so that it knows why (empty: closed without a word).
    std::string refusal{};
};

using LocalConnectionId = std::uint64_t;

// What a service makes of its clients. The calls come from inside serve()
// or send(); they may send to any connection and drop any connection.
class LocalServerHandler {
public:
    virtual ~LocalServerHandler() = default;
    virtual void connected(LocalConnectionId) {}
    virtual void lineReceived(LocalConnectionId id, const std::string &line) = 0;
    // Every connection ends here once, however it ended, unless the server
    // itself goes away first.
    virtual void disconnected(LocalConnectionId) {}
};

class LocalServer {
public:
    // Listens as the service of this name in privateLocalServiceDirectory().
    // A socket left behind by a process that ended is taken over; a name in
    // use by a running process is refused. Throws std::system_error.
    LocalServer(const std::string &name, LocalServerHandler &handler, LocalServerLimits limits = {});
    // Drops every connection and removes the socket.
    ~LocalServer();
    LocalServer(const LocalServer &) = delete;
    LocalServer &operator=(const LocalServer &) = delete;

    const std::string &path() const { return path_; }

    // Appends the descriptors to wait on, with the events each waits for.
    void appendDescriptors(std::vector<pollfd> &descriptors) const;
    // Accepts, reads and writes what the polled descriptors (revents filled
    // in) show to be ready; descriptors that are not the server's are ignored.
    void serve(const std::vector<pollfd> &polled);

    // Queues line and "\n" for the client; several lines joined by "\n" go
    // out in one write. False when there is no such connection, or when the
    // client had too much unread output and was dropped.
    bool send(LocalConnectionId id, std::string_view line);
    // Ends the connection at once; its unsent output is lost.
    void drop(LocalConnectionId id);
    // Ends the connection once its queued output has been written.
    void closeAfterSending(LocalConnectionId id);

private:
    struct Connection {
        explicit Connection(int descriptor, std::size_t maxLineBytes) : fd(descriptor), input(maxLineBytes) {}
        int fd;
        LineBuffer input;
        std::string output;
        std::size_t outputStart = 0; // bytes of output already written
        bool closing = false;        // no more input is taken; ends when output is out
    };

    void acceptConnections();
    void turnAway(int fd) const;
    void readFrom(LocalConnectionId id);
    // False when the connection was dropped.
    bool writeTo(LocalConnectionId id);
    Connection *find(LocalConnectionId id);

    LocalServerHandler &handler_;
    LocalServerLimits limits_;
    std::string path_;
    LocalNameClaim claim_; // held for as long as the server lives
    int listenFd_ = -1;
    LocalConnectionId nextId_ = 1;
    std::map<LocalConnectionId, Connection> connections_;
};

} // namespace korvel
