#include "toolbox.h"

#include <cstdio>
#include <system_error>

namespace qpext32 {

void Toolbox::connect(const Qpext32CommandChannel *channel) {
    state_.setChannel(channel);
    if (service_) return;
    try {
        service_ = std::make_unique<ToolboxService>(state_);
    } catch (const std::system_error &problem) {
        std::fprintf(stderr, "qpext32: no remote control for this logger: %s\n", problem.what());
    }
}

void Toolbox::shutDown() {
    service_.reset();
    state_.clear();
}

Toolbox &toolbox() {
    // Destroyed when the library is unloaded, so the thread never outlives its code.
    static Toolbox instance;
    return instance;
}

} // namespace qpext32
