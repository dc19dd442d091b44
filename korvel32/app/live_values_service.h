// The live-values service: other programs of the user follow the newest
// values of the logging instruments over a local socket named after the
// service, in conversations on the topics "System" and "BCN%02u" with the
// operations they know from DDE: connect, request, advise start and stop,
// poke and execute (both refused), disconnect. The protocol is in
// docs/live-values.md.
//
// The service never makes the logging wait: its sockets do not block, its
// front end serves them from its main loop, a client that stops reading is
// disconnected, and an update is made once per topic however many clients
// follow it.
#pragma once

#include "app/live_value_names.h"
#include "app/live_value_texts.h"
#include "logging/live_values.h"
#include "platform/local_server.h"
#include "setup/instrument_table.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct RegionalFormats;
class TrendLinkLibrary;

class LiveValuesService : public LiveValues, private LocalServerHandler, private InstrumentTableObserver {
public:
    // trendLinkLibrary: the time conversion that stamps the scans of data sets.
    LiveValuesService(InstrumentTable &table, const RegionalFormats &regional, TrendLinkLibrary &trendLinkLibrary);
    ~LiveValuesService() override;
    LiveValuesService(const LiveValuesService &) = delete;
    LiveValuesService &operator=(const LiveValuesService &) = delete;

    // Listens as the service of this name. False, with the reason written to
    // problems, when the name is taken by a running logger or the socket
    // cannot be made.
    bool start(const std::string &name, std::ostream &problems);
    // Tells every client its conversations end, and closes.
    void stop();
    bool running() const { return server_ != nullptr; }

    // Called when the service has queued output outside serve(), for a front
    // end that waits on each descriptor separately.
    void onOutputQueued(std::function<void()> queued) { outputQueued_ = std::move(queued); }

    void attach(LoggingEngine *engine) override { texts_.attach(engine); }
    void advise(int slot) override;
    void appendDescriptors(std::vector<pollfd> &descriptors) const override;
    void serve(const std::vector<pollfd> &polled) override;

private:
    // A client's conversations, one per topic at most.
    struct Client {
        std::bitset<kLiveTopics> connected;
        std::array<std::uint64_t, kLiveTopics> advised{}; // bit i: an advise loop on item i
    };

    void connected(LocalConnectionId id) override;
    void lineReceived(LocalConnectionId id, const std::string &line) override;
    void disconnected(LocalConnectionId id) override { clients_.erase(id); }

    void instrumentAdded(int slot, bool refreshIcon) override;
    void instrumentDeleted(int slot, unsigned bcn) override;
    void postTopics();
    // The update line of an item of the instrument being advised.
    const std::string &updateLine(const std::string &topicName, LiveTopic topic, LiveItem item);

    // Requests (live_values_requests.cpp).
    void connect(LocalConnectionId id, Client &client, const std::vector<std::string_view> &words);
    void disconnect(LocalConnectionId id, Client &client, const std::vector<std::string_view> &words);
    void request(LocalConnectionId id, LiveTopic topic, const std::vector<std::string_view> &words);
    void adviseStart(LocalConnectionId id, Client &client, LiveTopic topic, const std::vector<std::string_view> &words);
    void adviseStop(LocalConnectionId id, Client &client, LiveTopic topic, const std::vector<std::string_view> &words);
    std::string itemText(LiveTopic topic, LiveItem item);
    void reply(LocalConnectionId id, std::string_view word, const std::vector<std::string_view> &words);
    void error(LocalConnectionId id, const std::string &text);

    InstrumentTable &table_;
    LiveValueTexts texts_;
    std::unique_ptr<LocalServer> server_;
    std::map<LocalConnectionId, Client> clients_;
    std::string lines_; // the updates for one client, kept for its capacity
    // Each item's update line of the current advise, made once however many
    // clients follow the item (empty: not made yet).
    std::array<std::string, kLiveItemsPerInstrument> updates_;
    std::function<void()> outputQueued_;
};

} // namespace korvel
