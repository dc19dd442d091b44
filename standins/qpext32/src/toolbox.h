// The add-on as the entry points see it: the shared state, and the client
// service from the moment the logger gives its command channel until it
// shuts the add-on down.
#pragma once

#include "toolbox_service.h"
#include "toolbox_state.h"

#include <memory>

namespace qpext32 {

class Toolbox {
public:
    ToolboxState &state() { return state_; }

    // Keeps the channel and starts the service unless it runs; a service
    // that cannot start is reported on stderr and the add-on goes on without it.
    void connect(const Qpext32CommandChannel *channel);
    // Stops the service and forgets everything.
    void shutDown();

private:
    ToolboxState state_;
    std::unique_ptr<ToolboxService> service_;
};

// The one add-on of the library, made at the first call.
Toolbox &toolbox();

} // namespace qpext32
