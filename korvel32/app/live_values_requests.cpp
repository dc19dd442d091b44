// The requests of the live-values service's clients, one a line: the words
// of a request are separated by blanks; answers name topics and items in
// their standard spelling, refusals repeat the request as it was given.
#include "app/live_values_protocol.h"
#include "app/live_values_service.h"

namespace korvel {
namespace {

using Words = std::vector<std::string_view>;

Words wordsOf(std::string_view line) {
    Words words;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    for (std::size_t at = 0; at < line.size();) {
        if (blank(line[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < line.size() && !blank(line[end])) ++end;
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// A request with its topic and item, and optionally the format of its data.
bool itemAndFormat(const Words &words) { return words.size() == 3 || words.size() == 4; }

std::uint64_t loopBit(LiveItem item) { return std::uint64_t{1} << item; }

std::string answer(std::string_view word, LiveTopic topic) { return std::string(word) + ' ' + liveTopicName(topic); }

std::string answer(std::string_view word, LiveTopic topic, LiveItem item) {
    return answer(word, topic) + ' ' + liveItemName(topic, item);
}

} // namespace

void LiveValuesService::lineReceived(LocalConnectionId id, const std::string &line) {
    using namespace live_protocol;
    const auto found = clients_.find(id);
    if (found == clients_.end()) return;
    Client &client = found->second;
    const Words words = wordsOf(line);
    if (words.empty()) return;
    const std::string_view verb = words[0];
    if (verb == kConnect) return connect(id, client, words);
    if (verb == kDisconnect) return disconnect(id, client, words);
    if (verb != kRequest && verb != kAdvise && verb != kUnadvise && verb != kPoke && verb != kExecute)
        return error(id, "unknown request " + std::string(verb) +
                             ": connect, request, advise, unadvise, poke, execute or disconnect");
    if (words.size() < 2) return error(id, std::string(verb) + " needs a topic");
    const auto topic = parseLiveTopic(words[1]);
    if (!topic || !client.connected[static_cast<std::size_t>(*topic)])
        return error(id, "no conversation on " + std::string(words[1]) + ": connect to it first");
    // Live values are read-only.
    if (verb == kPoke || verb == kExecute) return reply(id, kRefused, words);
    if (verb == kRequest) return request(id, *topic, words);
    if (verb == kAdvise) return adviseStart(id, client, *topic, words);
    adviseStop(id, client, *topic, words);
}

void LiveValuesService::connect(LocalConnectionId id, Client &client, const Words &words) {
    if (words.size() != 2) return error(id, "usage: connect TOPIC");
    const auto topic = parseLiveTopic(words[1]);
    if (!topic) return reply(id, live_protocol::kRefused, words);
    client.connected.set(static_cast<std::size_t>(*topic));
    server_->send(id, answer(live_protocol::kConnected, *topic));
}

void LiveValuesService::disconnect(LocalConnectionId id, Client &client, const Words &words) {
    if (words.size() != 2) return error(id, "usage: disconnect TOPIC");
    const auto topic = parseLiveTopic(words[1]);
    if (!topic || !client.connected[static_cast<std::size_t>(*topic)])
        return error(id, "no conversation on " + std::string(words[1]));
    client.connected.reset(static_cast<std::size_t>(*topic));
    client.advised[static_cast<std::size_t>(*topic)] = 0;
    server_->send(id, answer(live_protocol::kDisconnected, *topic));
}

void LiveValuesService::request(LocalConnectionId id, LiveTopic topic, const Words &words) {
    if (!itemAndFormat(words)) return error(id, "usage: request TOPIC ITEM [FORMAT]");
    const auto item = parseLiveItem(topic, words[2]);
    if (!item || (words.size() == 4 && !isTextFormat(words[3]))) return reply(id, live_protocol::kRefused, words);
    server_->send(id, answer(live_protocol::kData, topic, *item) + ' ' + itemText(topic, *item));
}

void LiveValuesService::adviseStart(LocalConnectionId id, Client &client, LiveTopic topic, const Words &words) {
    if (!itemAndFormat(words)) return error(id, "usage: advise TOPIC ITEM [FORMAT]");
    const auto item = parseLiveItem(topic, words[2]);
    if (!item || (words.size() == 4 && !isTextFormat(words[3]))) return reply(id, live_protocol::kRefused, words);
    client.advised[static_cast<std::size_t>(topic)] |= loopBit(*item);
    server_->send(id, answer(live_protocol::kAdvising, topic, *item));
}

void LiveValuesService::adviseStop(LocalConnectionId id, Client &client, LiveTopic topic, const Words &words) {
    if (!itemAndFormat(words)) return error(id, "usage: unadvise TOPIC ITEM");
    std::uint64_t &loops = client.advised[static_cast<std::size_t>(topic)];
    const auto item = parseLiveItem(topic, words[2]);
    if (!item || (loops & loopBit(*item)) == 0) return reply(id, live_protocol::kRefused, words);
    loops &= ~loopBit(*item);
    server_->send(id, answer(live_protocol::kUnadvised, topic, *item));
}

std::string LiveValuesService::itemText(LiveTopic topic, LiveItem item) {
    if (topic == kSystemTopic) return texts_.systemText(item);
    texts_.beginInstrument(topic);
    return std::string(texts_.instrumentText(item));
}

void LiveValuesService::reply(LocalConnectionId id, std::string_view word, const Words &words) {
    std::string line(word);
    for (const std::string_view part : words) {
        line += ' ';
        line += part;
    }
    server_->send(id, line);
}

void LiveValuesService::error(LocalConnectionId id, const std::string &text) {
    server_->send(id, std::string(live_protocol::kError) + ' ' + text);
}

} // namespace korvel
