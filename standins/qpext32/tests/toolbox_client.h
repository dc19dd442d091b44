// A client of the add-on's service as a test talks to it: raw protocol
// lines, with every wait bounded.
#pragma once

#include "platform/local_client.h"

#include <string>
#include <vector>

namespace qpext32_test {

// Generous: a loaded machine, or the sanitizer build.
inline constexpr int kBoundMs = 20000;

class ToolboxClient {
public:
    // Connects and takes the greeting; throws std::runtime_error without one.
    ToolboxClient();

    void send(const std::string &line);
    // The next line beginning with prefix, passing over the others; empty
    // when none comes within the bound.
    std::string next(const std::string &prefix, int timeoutMs = kBoundMs);
    // Every line up to and including the next one beginning with prefix.
    std::vector<std::string> linesUntil(const std::string &prefix);
    // True when the service ends the connection within the bound.
    bool closedByService();

    korvel::LocalClient &connection() { return client_; }

private:
    korvel::LocalClient client_;
};

} // namespace qpext32_test
