// The headless main loop's rest between logging ticks, spent waiting on the
// live-values clients: a client is answered as soon as it asks, and a loop
// with nothing to do sleeps in poll() instead of spinning. While the library
// waits on an instrument it serves them too, so that a start that takes
// seconds leaves no client waiting.
#pragma once

#include "link/instrument_link.h"
#include "logging/live_values.h"

#include <chrono>
#include <vector>

namespace korvel {

class ServedRest {
public:
    // Serves the clients of liveValues, in the rests and in the library's waits.
    ServedRest(LiveValues &liveValues, InstrumentLink &link);
    ~ServedRest();
    ServedRest(const ServedRest &) = delete;
    ServedRest &operator=(const ServedRest &) = delete;

    // Rests for as long as the tick allows, serving the clients meanwhile.
    // Without a rest the clients are served when they are due, so that a
    // loop that never rests still answers them.
    void rest(std::chrono::milliseconds rest);

private:
    using Clock = std::chrono::steady_clock;
    // How often a loop that never rests looks at its clients: often enough
    // to answer at once, seldom enough to cost the logging nothing.
    static constexpr std::chrono::milliseconds kServeInterval{1};

    static void serveWhileWaiting(void *context);
    void serveIfDue();
    // Waits at most timeoutMs for a client and serves what is ready.
    void pollAndServe(int timeoutMs);

    LiveValues &liveValues_;
    InstrumentLink &link_;
    std::vector<pollfd> descriptors_; // kept for its capacity
    Clock::time_point lastServed_{};
};

} // namespace korvel
