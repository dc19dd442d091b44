// The client side of a local service, for tools and tests: connect by the
// service's name, send lines, read lines with a time bound.
#pragma once

#include "platform/line_buffer.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace korvel {

class LocalClient {
public:
    // Connects to the service of this name in localServiceDirectory(), and
    // only when it runs as our user. Throws std::system_error when nothing
    // listens there (ENOENT, ECONNREFUSED) or someone else does (EACCES).
    explicit LocalClient(const std::string &name, std::size_t maxLineBytes = 65536);
    ~LocalClient();
    LocalClient(const LocalClient &) = delete;
    LocalClient &operator=(const LocalClient &) = delete;

    // Sends line and "\n", waiting at most timeoutMs for room; false when the
    // service has gone or takes nothing.
    bool sendLine(std::string_view line, int timeoutMs = 5000);

    enum class Read { Line, TimedOut, Closed };
    // The next line from the service, waiting at most timeoutMs (-1: no
    // bound). Closed also covers a line beyond the bound.
    Read readLine(std::string &line, int timeoutMs);

    int descriptor() const { return fd_; }

private:
    int fd_ = -1;
    LineBuffer input_;
    bool closed_ = false;
};

} // namespace korvel
