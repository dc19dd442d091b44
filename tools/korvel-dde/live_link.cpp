#include "live_link.h"

#include "app/live_values_protocol.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace korvel_dde {

using korvel::LocalClient;
namespace protocol = korvel::live_protocol;

std::vector<std::string> wordsOf(const std::string &line) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at <= line.size();) {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

std::string after(const std::string &line, int count) {
    std::size_t at = 0;
    for (int word = 0; word < count && at != std::string::npos; ++word) {
        at = line.find(' ', at);
        if (at != std::string::npos) ++at;
    }
    return at == std::string::npos ? std::string() : line.substr(at);
}

std::unique_ptr<LiveLink> LiveLink::open(const std::string &service, int timeoutMs, std::string &problem) {
    std::unique_ptr<LocalClient> client;
    try {
        client = std::make_unique<LocalClient>(service);
    } catch (const std::system_error &error) {
        const int code = error.code().value();
        problem = code == ENOENT || code == ECONNREFUSED
                      ? "no logger is running that serves live values as " + service
                      : "cannot reach the logger's live values (" + service + "): " + error.what();
        return nullptr;
    }
    std::string greeting;
    const LocalClient::Read read = client->readLine(greeting, timeoutMs);
    if (read == LocalClient::Read::Line && greeting.starts_with(protocol::kError)) {
        problem = after(greeting, 1);
        return nullptr;
    }
    if (read != LocalClient::Read::Line || greeting != protocol::kGreeting) {
        problem = "the logger serving " + service + " did not greet us";
        return nullptr;
    }
    return std::unique_ptr<LiveLink>(new LiveLink(std::move(client), timeoutMs));
}

Answer LiveLink::ask(const std::string &request, const std::string &expected) {
    Answer answer;
    if (!client_->sendLine(request, timeoutMs_)) return answer;
    std::string line;
    for (;;) {
        if (client_->readLine(line, timeoutMs_) != LocalClient::Read::Line) return answer;
        if (!line.starts_with(std::string(protocol::kUpdate) + ' ')) break;
        kept_.push_back(line);
    }
    answer.words = wordsOf(line);
    const std::string &word = answer.words.front();
    if (word == expected) {
        answer.kind = Answer::Kind::Expected;
        if (word == protocol::kData) answer.data = after(line, 3);
    } else if (word == protocol::kRefused) {
        answer.kind = Answer::Kind::Refused;
    } else {
        answer.kind = Answer::Kind::Error;
        answer.words = {after(line, 1)};
    }
    return answer;
}

LocalClient::Read LiveLink::next(std::string &line, int timeoutMs) {
    if (!kept_.empty()) {
        line = std::move(kept_.front());
        kept_.pop_front();
        return LocalClient::Read::Line;
    }
    return client_->readLine(line, timeoutMs);
}

} // namespace korvel_dde
