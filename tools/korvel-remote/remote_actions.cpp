#include "remote_actions.h"

#include "qpext32.h"

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace korvel_remote {
namespace {

using SteadyClock = std::chrono::steady_clock;

struct InstrumentState {
    unsigned bcn = 0;
    bool logging = false;
    unsigned long queueBytes = 0;
    unsigned long recordSize = 0;
    unsigned long long lost = 0;
};

// The next line that answers us, passing over the news the service sends
// every client; false, with the reason told, when none comes.
bool nextAnswer(korvel::LocalClient &service, const std::string &prefix, std::string &line,
                SteadyClock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
        const korvel::LocalClient::Read read =
            service.readLine(line, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (read == korvel::LocalClient::Read::TimedOut) {
            std::fprintf(stderr, "korvel-remote: the logger did not answer in time\n");
            return false;
        }
        if (read == korvel::LocalClient::Read::Closed) {
            std::fprintf(stderr, "korvel-remote: the logger went away\n");
            return false;
        }
        if (line.rfind("error ", 0) == 0) {
            std::fprintf(stderr, "korvel-remote: %s\n", line.c_str() + 6);
            return false;
        }
        if (line.rfind(prefix, 0) == 0) return true;
    }
}

SteadyClock::time_point deadlineIn(int seconds) { return SteadyClock::now() + std::chrono::seconds(seconds); }

// The instruments of a status answer; false when it did not come whole.
bool readStatus(korvel::LocalClient &service, int timeoutSeconds, std::vector<std::string> &lines,
                std::vector<InstrumentState> &instruments) {
    if (!service.sendLine("status")) return false;
    const auto deadline = deadlineIn(timeoutSeconds);
    std::string line;
    while (nextAnswer(service, "status ", line, deadline)) {
        if (line == "status end") return true;
        std::istringstream words(line.substr(7));
        std::string kind;
        words >> kind;
        if (kind != "instrument") {
            lines.push_back(line.substr(7));
            continue;
        }
        InstrumentState state;
        std::string run, queueWord, recordWord, lostWord;
        words >> state.bcn >> run >> queueWord >> state.queueBytes >> recordWord >> state.recordSize >> lostWord >>
            state.lost;
        state.logging = run == "logging";
        instruments.push_back(state);
    }
    return false;
}

} // namespace

int runCommand(korvel::LocalClient &service, const RemoteRequest &request) {
    if ((!request.openPath.empty() && !service.sendLine("path open " + request.openPath)) ||
        (!request.savePath.empty() && !service.sendLine("path save " + request.savePath)) ||
        !service.sendLine("command " + std::to_string(request.code) + " " + std::to_string(request.argument))) {
        std::fprintf(stderr, "korvel-remote: the logger went away\n");
        return kNoLogger;
    }
    std::string line;
    if (!nextAnswer(service, "reply ", line, deadlineIn(request.timeoutSeconds))) return kNoLogger;
    // reply CODE BCN REPLY MEANING
    std::istringstream words(line.substr(6));
    long code = 0, bcn = 0, reply = 0;
    words >> code >> bcn >> reply;
    std::string meaning;
    std::getline(words >> std::ws, meaning);
    if (reply != 0) {
        std::printf("%s (reply %ld)\n", meaning.c_str(), reply);
        return kRefused;
    }
    std::printf("%s\n", meaning.c_str());
    if (request.code != QPEXT32_START_INSTRUMENT) return kDone;
    // A start that failed with a message in the logger still answers 0.
    std::vector<std::string> lines;
    std::vector<InstrumentState> instruments;
    if (!readStatus(service, request.timeoutSeconds, lines, instruments)) return kNoLogger;
    for (const InstrumentState &instrument : instruments)
        if (instrument.bcn == request.argument && instrument.logging) return kDone;
    std::printf("instrument %u does not log: the logger tells why\n", request.argument);
    return kRefused;
}

int showStatus(korvel::LocalClient &service, int timeoutSeconds) {
    std::vector<std::string> lines;
    std::vector<InstrumentState> instruments;
    if (!readStatus(service, timeoutSeconds, lines, instruments)) return kNoLogger;
    for (const std::string &line : lines) {
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (key == "setup") std::printf("Setup: %s\n", value.empty() ? "(untitled)" : value.c_str());
        if (key == "remote-mode") std::printf("Remote mode: %s\n", value.c_str());
    }
    for (const InstrumentState &instrument : instruments) {
        std::printf("Instrument %02u: %s, ", instrument.bcn, instrument.logging ? "logging" : "stopped");
        if (instrument.queueBytes == 0)
            std::printf("no scan queue\n");
        else if (instrument.recordSize == 0)
            std::printf("scan queue %lu bytes, %llu scans lost\n", instrument.queueBytes, instrument.lost);
        else
            std::printf("scan queue %lu bytes (%lu scans), %llu scans lost\n", instrument.queueBytes,
                        instrument.queueBytes / instrument.recordSize, instrument.lost);
    }
    return kDone;
}

} // namespace korvel_remote
