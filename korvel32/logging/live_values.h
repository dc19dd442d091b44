// The live-values service's part in the logging: once a second the new values
// of an instrument reach the clients of its topic "BCN%02u". The service's
// clients are served from the front end's main loop, which waits on their
// descriptors while it rests. This base is the logger without the service.
#pragma once

#include <vector>

#include <poll.h>

namespace korvel {

class LoggingEngine;

class LiveValues {
public:
    virtual ~LiveValues() = default;

    // The engine whose runs and newest scans the values come from, for as
    // long as it is there; nullptr when it goes.
    virtual void attach(LoggingEngine * /*engine*/) {}
    virtual void advise(int /*slot*/) {}

    // The descriptors to wait on for the clients, and the serving of those
    // that a wait found ready (revents filled in).
    virtual void appendDescriptors(std::vector<pollfd> & /*descriptors*/) const {}
    virtual void serve(const std::vector<pollfd> & /*polled*/) {}
};

} // namespace korvel
