// korvel-dde's connection to a logger's live-values service: the greeting,
// then one request at a time with its answer. Updates that arrive while an
// answer is awaited are kept for whoever follows them.
#pragma once

#include "platform/local_client.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace korvel_dde {

enum ExitCode { kDone = 0, kRefused = 1, kNoLogger = 2 };

struct Answer {
    enum class Kind { Expected, Refused, Error, Lost } kind = Kind::Lost;
    std::vector<std::string> words; // of the answer line; for Error its text as one
    std::string data;               // what follows topic and item in a data line
};

class LiveLink {
public:
    // Connects to the service and takes its greeting; nullptr, with the
    // reason in problem, when no logger answers.
    static std::unique_ptr<LiveLink> open(const std::string &service, int timeoutMs, std::string &problem);

    // Sends the request and returns its answer, which begins with expected
    // when the logger did what was asked.
    Answer ask(const std::string &request, const std::string &expected);

    // The next update line ("update TOPIC ITEM TEXT"), or another line the
    // logger sent of its own accord; waits at most timeoutMs.
    korvel::LocalClient::Read next(std::string &line, int timeoutMs);

private:
    LiveLink(std::unique_ptr<korvel::LocalClient> client, int timeoutMs)
            : client_(std::move(client)), timeoutMs_(timeoutMs) {}

    std::unique_ptr<korvel::LocalClient> client_;
    int timeoutMs_;
    std::deque<std::string> kept_;
};

// The words of a line, split at single blanks.
std::vector<std::string> wordsOf(const std::string &line);

// What follows the first count words of a line and their blanks.
std::string after(const std::string &line, int count);

} // namespace korvel_dde
