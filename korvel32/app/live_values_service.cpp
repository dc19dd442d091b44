#include "app/live_values_service.h"

#include "app/live_values_protocol.h"

#include <cerrno>
#include <ostream>
#include <system_error>

namespace korvel {
namespace {

LocalServerLimits serviceLimits() {
    return {.maxLineBytes = live_protocol::kMaxRequestBytes,
            .maxPendingBytes = live_protocol::kMaxUnreadBytes,
            .maxConnections = live_protocol::kMaxClients,
            .refusal = live_protocol::kBusy};
}

} // namespace

LiveValuesService::LiveValuesService(InstrumentTable &table, const RegionalFormats &regional,
                                     TrendLinkLibrary &trendLinkLibrary)
        : table_(table), texts_(table, regional, trendLinkLibrary) {
    table_.addObserver(*this);
}

LiveValuesService::~LiveValuesService() {
    table_.removeObserver(*this);
    stop();
}

bool LiveValuesService::start(const std::string &name, std::ostream &problems) {
    try {
        LocalServerHandler &handler = *this;
        server_ = std::make_unique<LocalServer>(name, handler, serviceLimits());
        return true;
    } catch (const std::system_error &failure) {
        if (failure.code().value() == EADDRINUSE)
            problems << "korvel32: another logger already serves live values as " << name << '\n';
        else
            problems << "korvel32: cannot serve live values as " << name << ": " << failure.what() << '\n';
        return false;
    }
}

// The clients hear that their conversations end, as far as their sockets
// take it at once.
void LiveValuesService::stop() {
    if (!server_) return;
    for (auto next = clients_.begin(); next != clients_.end();) {
        const LocalConnectionId id = next->first;
        const std::bitset<kLiveTopics> topics = next->second.connected;
        ++next; // a send may drop its client, and with it this entry
        lines_.clear();
        for (LiveTopic topic = 0; topic < kLiveTopics; ++topic) {
            if (!topics[static_cast<std::size_t>(topic)]) continue;
            if (!lines_.empty()) lines_ += '\n';
            lines_ += std::string(live_protocol::kDisconnected) + ' ' + liveTopicName(topic);
        }
        if (!lines_.empty()) server_->send(id, lines_);
    }
    clients_.clear();
    server_.reset();
}

void LiveValuesService::appendDescriptors(std::vector<pollfd> &descriptors) const {
    if (server_) server_->appendDescriptors(descriptors);
}

void LiveValuesService::serve(const std::vector<pollfd> &polled) {
    if (server_) server_->serve(polled);
}

void LiveValuesService::connected(LocalConnectionId id) {
    clients_.emplace(id, Client{});
    server_->send(id, live_protocol::kGreeting);
}

// Every advise loop of the instrument's topic receives the newest texts, all
// of a client's in one write.
void LiveValuesService::advise(int slot) {
    if (!server_ || clients_.empty()) return;
    const InstrumentSlot &entry = table_.slot(slot);
    const auto topic = static_cast<LiveTopic>(entry.bcn);
    if (topic <= kSystemTopic || topic >= kLiveTopics) return;
    const std::string topicName = liveTopicName(topic);
    texts_.beginInstrument(topic);
    for (std::string &update : updates_) update.clear();
    bool sent = false;
    for (auto next = clients_.begin(); next != clients_.end();) {
        const LocalConnectionId id = next->first;
        const std::uint64_t loops = next->second.advised[static_cast<std::size_t>(topic)];
        ++next; // a send may drop its client, and with it this entry
        if (loops == 0) continue;
        lines_.clear();
        for (LiveItem item = 0; item < kLiveItemsPerInstrument; ++item) {
            if ((loops & (std::uint64_t{1} << item)) == 0) continue;
            if (!lines_.empty()) lines_ += '\n';
            lines_ += updateLine(topicName, topic, item);
        }
        server_->send(id, lines_);
        sent = true;
    }
    if (sent && outputQueued_) outputQueued_();
}

// Made by the first client of the advise that follows the item.
const std::string &LiveValuesService::updateLine(const std::string &topicName, LiveTopic topic, LiveItem item) {
    std::string &line = updates_[static_cast<std::size_t>(item)];
    if (!line.empty()) return line;
    line += live_protocol::kUpdate;
    line += ' ';
    line += topicName;
    line += ' ';
    line += liveItemName(topic, item);
    line += ' ';
    line += texts_.instrumentText(item);
    return line;
}

void LiveValuesService::instrumentAdded(int, bool) { postTopics(); }

void LiveValuesService::instrumentDeleted(int, unsigned) { postTopics(); }

void LiveValuesService::postTopics() {
    if (!server_ || clients_.empty()) return;
    constexpr std::uint64_t kTopicsLoop = std::uint64_t{1} << live_item::kTopics;
    const std::string line = std::string(live_protocol::kUpdate) + ' ' + liveTopicName(kSystemTopic) + ' ' +
                             liveItemName(kSystemTopic, live_item::kTopics) + ' ' +
                             texts_.systemText(live_item::kTopics);
    bool sent = false;
    for (auto next = clients_.begin(); next != clients_.end();) {
        const LocalConnectionId id = next->first;
        const std::uint64_t loops = next->second.advised[kSystemTopic];
        ++next;
        if ((loops & kTopicsLoop) == 0) continue;
        server_->send(id, line);
        sent = true;
    }
    if (sent && outputQueued_) outputQueued_();
}

} // namespace korvel
