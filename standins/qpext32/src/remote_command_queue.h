// The clients' remote commands on their way to the logger. The logger keeps
// one command at a time, so the next is posted only once the last one was
// answered; the others wait here, in the order they came, up to a bound.
#pragma once

#include "platform/local_server.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qpext32 {

struct RemoteCommand {
    korvel::LocalConnectionId client = 0;
    std::uint32_t code = 0;
    std::uint32_t argument = 0;
    std::string openPath;
    std::string savePath;
};

class RemoteCommandQueue {
public:
    static constexpr std::size_t kMaxWaiting = 64;

    // post hands a command to the logger; false when it was not taken.
    explicit RemoteCommandQueue(std::function<bool(const RemoteCommand &)> post) : post_(std::move(post)) {}

    // False when too many commands wait already.
    bool submit(RemoteCommand command);
    // Posts waiting commands while none is with the logger; returns those the
    // logger did not take, for their clients to hear of.
    std::vector<RemoteCommand> postWaiting();
    // The logger answered the command it had: that command, if there was one.
    std::optional<RemoteCommand> answered();
    // The client left: its waiting commands go. One already with the logger
    // runs on; its answer has no one to go to.
    void forget(korvel::LocalConnectionId client);

private:
    std::function<bool(const RemoteCommand &)> post_;
    std::deque<RemoteCommand> waiting_;
    std::optional<RemoteCommand> inFlight_;
};

} // namespace qpext32
