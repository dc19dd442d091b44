// A client of a logger's live-values service for tests: it connects once the
// logger listens, asks one request at a time, and keeps the updates the
// logger pushes meanwhile. When the logger runs in the test's own thread
// (the window), a pump serves it between the client's reads.
#pragma once

#include "platform/local_client.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kvtest {

struct LiveUpdate {
    std::string topic;
    std::string item;
    std::string text;
};

class LiveValuesClient {
public:
    static constexpr int kBoundMs = 30000;

    // Connects to the service of this name, waiting (bounded) until it
    // listens, and takes its greeting; throws std::runtime_error when none
    // comes. pump, when given, runs between reads.
    explicit LiveValuesClient(const std::string &service, std::function<void()> pump = {});

    // Sends the request and returns the first line that is not an update.
    std::string ask(const std::string &request);

    // Reads lines until condition holds, bounded; false when it never does
    // or the logger closes.
    bool waitUntil(const std::function<bool()> &condition, int boundMs = kBoundMs);

    // The updates received so far; the lines other than updates and answers.
    const std::vector<LiveUpdate> &updates() const { return updates_; }
    void forgetUpdates() { updates_.clear(); }
    // True once the logger has closed the connection.
    bool closed() const { return closed_; }

    korvel::LocalClient &connection() { return *client_; }

private:
    // The next line, waiting at most timeoutMs; false on time-out or close.
    bool readLine(std::string &line, int timeoutMs);
    // Keeps an update line; false for any other line.
    bool keptAsUpdate(const std::string &line);

    std::function<void()> pump_;
    std::unique_ptr<korvel::LocalClient> client_;
    std::vector<LiveUpdate> updates_;
    bool closed_ = false;
};

} // namespace kvtest
