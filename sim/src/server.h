// The event loop: listening sockets and connections of every instrument and
// the control lines on stdin, served from one thread with poll() so that a
// slow or silent instrument never holds up another.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "byte_order.h"
#include "command_table.h"
#include "loop_peer.h"
#include "sim_instrument.h"

namespace korvelsim {

class Server {
public:
    using ControlHandler = std::function<std::string(const std::string &line)>;

    explicit Server(std::vector<SimInstrument> &instruments);
    ~Server();
    Server(const Server &) = delete;
    Server &operator=(const Server &) = delete;

    // Binds both ports of every instrument; port 0 picks a base port free on
    // every address. False with the reason in error.
    bool listen(int port, std::string &error);
    int basePort() const { return basePort_; }

    // Served by run() beside the instruments; the peer must outlive the run.
    void addPeer(LoopPeer &peer) { peers_.push_back(&peer); }

    // Serves until quit() or the end of stdin; each control line gets one reply line.
    void run(const ControlHandler &control);
    void quit() { quitting_ = true; }

    // Closes an instrument's listening sockets so that connects are refused.
    void refuse(const SimInstrument &instrument);
    bool reopen(const SimInstrument &instrument, std::string &error);
    int openConnections(const SimInstrument &instrument, Link link) const;
    // Closes every connection of the instrument now, as a network fault would.
    void dropConnections(const SimInstrument &instrument);

private:
    using Clock = std::chrono::steady_clock;

    struct Endpoint {
        SimInstrument *instrument;
        int mainSocket = -1;
        int passThruSocket = -1;
        bool refused = false;
    };
    struct Chunk {
        Bytes bytes;
        std::size_t sent = 0;
        Clock::time_point notBefore;
        bool bytewise = false;
    };
    struct Connection {
        int socket;
        Link link;
        SimInstrument *instrument;
        Bytes received;
        std::deque<Chunk> pending;
        bool closing = false;
    };

    bool bindAll(int port, std::string &error);
    void closeListeners();
    Endpoint *endpointOf(const SimInstrument &instrument);
    void acceptOn(int listener, Link link, SimInstrument *instrument);
    void readFrom(Connection &connection);
    void assembleRequests(Connection &connection);
    void flush(Connection &connection);
    int pollTimeoutMs(Clock::time_point now) const;
    void advanceInstruments(Clock::time_point now);
    bool readControl(const ControlHandler &control);

    std::vector<SimInstrument> &instruments_;
    std::vector<Endpoint> endpoints_;
    std::vector<LoopPeer *> peers_;
    std::list<Connection> connections_;
    std::string controlBuffer_;
    int basePort_ = 0;
    bool quitting_ = false;
};

} // namespace korvelsim
