// Something besides the instruments' sockets that the event loop serves on
// its one thread, such as the calibration port.
#pragma once

#include <optional>

#include "instrument_clock.h"

namespace korvelsim {

class LoopPeer {
public:
    virtual ~LoopPeer() = default;

    virtual int descriptor() const = 0;
    // The poll events wanted now: POLLIN, with POLLOUT while output is due.
    virtual short events(SteadyClock::time_point now) const = 0;
    // Called on every pass with what poll reported (possibly nothing).
    virtual void serve(short revents, SteadyClock::time_point now) = 0;
    // When output held back falls due; none when nothing waits.
    virtual std::optional<SteadyClock::time_point> nextDue() const = 0;
};

} // namespace korvelsim
