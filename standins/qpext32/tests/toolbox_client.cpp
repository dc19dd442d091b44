#include "toolbox_client.h"

#include <chrono>
#include <stdexcept>

#include "wait_for.h"

namespace qpext32_test {
namespace {

using SteadyClock = std::chrono::steady_clock;

} // namespace

ToolboxClient::ToolboxClient() : client_("toolbox") {
    if (next("hello korvel32-toolbox 1").empty()) throw std::runtime_error("the toolbox service did not greet");
}

void ToolboxClient::send(const std::string &line) {
    if (!client_.sendLine(line)) throw std::runtime_error("the toolbox service took nothing");
}

std::string ToolboxClient::next(const std::string &prefix, int timeoutMs) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    std::string line;
    while (client_.readLine(line, kvtest::millisecondsLeft(deadline)) == korvel::LocalClient::Read::Line)
        if (line.rfind(prefix, 0) == 0) return line;
    return {};
}

std::vector<std::string> ToolboxClient::linesUntil(const std::string &prefix) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kBoundMs);
    std::vector<std::string> lines;
    std::string line;
    while (client_.readLine(line, kvtest::millisecondsLeft(deadline)) == korvel::LocalClient::Read::Line) {
        lines.push_back(line);
        if (line.rfind(prefix, 0) == 0) break;
    }
    return lines;
}

bool ToolboxClient::closedByService() {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kBoundMs);
    std::string line;
    for (;;) {
        const korvel::LocalClient::Read read = client_.readLine(line, kvtest::millisecondsLeft(deadline));
        if (read == korvel::LocalClient::Read::Closed) return true;
        if (read == korvel::LocalClient::Read::TimedOut) return false;
    }
}

} // namespace qpext32_test
