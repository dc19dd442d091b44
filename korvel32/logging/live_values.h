// The live-values service's part in the logging: once a second the new values
// of an instrument reach the clients of its topic "BCN%02u". This base is the
// logger without the service.
#pragma once

namespace korvel {

class LiveValues {
public:
    virtual ~LiveValues() = default;

    virtual void advise(int /*slot*/) {}
};

} // namespace korvel
