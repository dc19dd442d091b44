#include "remote_command_queue.h"

#include <algorithm>
#include <utility>

namespace qpext32 {

bool RemoteCommandQueue::submit(RemoteCommand command) {
    if (waiting_.size() >= kMaxWaiting) return false;
    waiting_.push_back(std::move(command));
    return true;
}

std::vector<RemoteCommand> RemoteCommandQueue::postWaiting() {
    std::vector<RemoteCommand> refused;
    while (!inFlight_ && !waiting_.empty()) {
        RemoteCommand next = std::move(waiting_.front());
        waiting_.pop_front();
        if (post_(next))
            inFlight_ = std::move(next);
        else
            refused.push_back(std::move(next));
    }
    return refused;
}

std::optional<RemoteCommand> RemoteCommandQueue::answered() { return std::exchange(inFlight_, std::nullopt); }

void RemoteCommandQueue::forget(korvel::LocalConnectionId client) {
    std::erase_if(waiting_, [client](const RemoteCommand &command) { return command.client == client; });
}

} // namespace qpext32
