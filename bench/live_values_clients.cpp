#include "live_values_clients.h"

#include "app/live_values_protocol.h"
#include "bench_logger.h"
#include "platform/local_client.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <poll.h>

namespace korvel::bench {
namespace {

constexpr int kAnswerMs = 60000;
constexpr int kStopCheckMs = 100;
constexpr int kChannelItems = 30;

volatile std::sig_atomic_t stopping = 0;

void onStop(int) { stopping = 1; }

std::string topicOf(int bcn) {
    return std::string("BCN") + static_cast<char>('0' + bcn / 10) + static_cast<char>('0' + bcn % 10);
}

// Connects to every instrument's topic and advises all its channels.
bool adviseEverything(LocalClient &client, int instruments) {
    std::string line;
    if (client.readLine(line, kAnswerMs) != LocalClient::Read::Line) return false;
    int expected = 0;
    for (int bcn = 1; bcn <= instruments; ++bcn) {
        const std::string topic = topicOf(bcn);
        if (!client.sendLine("connect " + topic, kAnswerMs)) return false;
        ++expected;
        for (int channel = 1; channel <= kChannelItems; ++channel, ++expected) {
            if (!client.sendLine("advise " + topic + " c" + std::to_string(channel), kAnswerMs)) return false;
        }
    }
    for (int answered = 0; answered < expected;) {
        if (client.readLine(line, kAnswerMs) != LocalClient::Read::Line) return false;
        if (line.starts_with(live_protocol::kError) || line.starts_with(live_protocol::kRefused)) return false;
        if (!line.starts_with(live_protocol::kUpdate)) ++answered;
    }
    return true;
}

} // namespace

int runLiveValuesClients(int argc, char **argv) {
    if (argc != 5) return 2;
    const int count = std::atoi(argv[2]);
    const std::string service = argv[3];
    const int instruments = std::atoi(argv[4]);
    std::signal(SIGTERM, onStop);
    std::vector<std::unique_ptr<LocalClient>> clients;
    for (int i = 0; i < count; ++i) clients.push_back(std::make_unique<LocalClient>(service));
    for (auto &client : clients) {
        if (!adviseEverything(*client, instruments)) {
            std::fprintf(stderr, "a client could not advise every item\n");
            return 1;
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    long updates = 0;
    std::vector<pollfd> descriptors;
    for (auto &client : clients) descriptors.push_back({client->descriptor(), POLLIN, 0});
    std::string line;
    while (!stopping) {
        if (::poll(descriptors.data(), descriptors.size(), kStopCheckMs) <= 0) continue;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            if (descriptors[i].revents == 0) continue;
            while (clients[i]->readLine(line, 0) == LocalClient::Read::Line) updates += line.starts_with("update ");
        }
    }
    std::printf("updates %ld\n", updates);
    return 0;
}

LiveValuesClients::LiveValuesClients(LoggingSession &session, int count)
        : process_(std::make_unique<kvtest::ChildProcess>(
              std::vector<std::string>{"/proc/self/exe", kClientsSwitch, std::to_string(count), kLiveValuesService,
                                       std::to_string(kInstruments)})) {
    const auto bound = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMs);
    bool ready = false;
    std::string line;
    session.runUntil([&] {
        ready = process_->readLine(line, 0) && line == "ready";
        return ready || std::chrono::steady_clock::now() >= bound;
    });
    if (!ready) fail("the live-values clients did not get to advise: " + process_->errors());
}

long LiveValuesClients::stop() {
    process_->signal(SIGTERM);
    if (process_->wait(kAnswerMs) != 0) fail("the live-values clients failed: " + process_->errors());
    return std::atol(process_->output().c_str() + process_->output().find(' ') + 1);
}

} // namespace korvel::bench
