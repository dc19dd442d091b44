#include "live_values_client.h"

#include "wait_for.h"

#include "app/live_values_protocol.h"

#include <chrono>
#include <stdexcept>
#include <system_error>

namespace kvtest {
namespace {

constexpr int kPumpedReadMs = 5;

} // namespace

LiveValuesClient::LiveValuesClient(const std::string &service, std::function<void()> pump) : pump_(std::move(pump)) {
    const bool connected = waitFor(
        [&] {
            if (pump_) pump_();
            try {
                client_ = std::make_unique<korvel::LocalClient>(service);
                return true;
            } catch (const std::system_error &) {
                return false;
            }
        },
        kBoundMs);
    std::string greeting;
    if (!connected || !readLine(greeting, kBoundMs) || greeting != korvel::live_protocol::kGreeting)
        throw std::runtime_error("no live-values service " + service + " greets us");
}

std::string LiveValuesClient::ask(const std::string &request) {
    if (!client_->sendLine(request)) return "(not sent)";
    std::string line;
    while (readLine(line, kBoundMs)) {
        if (!keptAsUpdate(line)) return line;
    }
    return closed_ ? "(closed)" : "(no answer)";
}

bool LiveValuesClient::waitUntil(const std::function<bool()> &condition, int boundMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    std::string line;
    while (!condition()) {
        const int left = millisecondsLeft(deadline);
        if (left == 0 || closed_) return false;
        if (readLine(line, left)) keptAsUpdate(line);
    }
    return true;
}

bool LiveValuesClient::readLine(std::string &line, int timeoutMs) {
    using Read = korvel::LocalClient::Read;
    if (!pump_) {
        const Read read = client_->readLine(line, timeoutMs);
        closed_ = closed_ || read == Read::Closed;
        return read == Read::Line;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pump_();
        const Read read = client_->readLine(line, kPumpedReadMs);
        if (read == Read::Line) return true;
        if (read == Read::Closed) {
            closed_ = true;
            return false;
        }
        if (millisecondsLeft(deadline) == 0) return false;
    }
}

bool LiveValuesClient::keptAsUpdate(const std::string &line) {
    if (!line.starts_with("update ")) return false;
    const std::size_t topicEnd = line.find(' ', 7);
    const std::size_t itemEnd = topicEnd == std::string::npos ? topicEnd : line.find(' ', topicEnd + 1);
    if (itemEnd == std::string::npos) return false;
    updates_.push_back(
        {line.substr(7, topicEnd - 7), line.substr(topicEnd + 1, itemEnd - topicEnd - 1), line.substr(itemEnd + 1)});
    return true;
}

} // namespace kvtest
