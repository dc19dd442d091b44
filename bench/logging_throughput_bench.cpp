// Sustained logging throughput: 20 simulated instruments of 30 channels in
// fast mode (each scan fetch first makes the scans it asks for) logged into
// .bin and then .csv data files for a fixed time per round, against a bare
// kvlink32 client that reads the same instruments in the same round robin
// with the same batch size and does nothing with the scans. The logger starts
// the instruments for every round, the bare client's too, so all three read
// identically configured instruments.
//
// Fast instruments hand over scans on every read, so the logging loop never
// rests (it rests only after a whole cycle over the instruments read
// nothing): the time per read is what one tick costs, the loop included.
//
// Then the instruments keep full toolbox scan queues and .bin is logged again,
// once without a client of the toolbox add-on and once with a client that
// follows every instrument and never reads: the logger must not wait for it.
//
// The .csv rounds are run again while the logger serves 50 live-values
// clients (in a process of their own), each advising every channel of every
// instrument, against the .csv rounds without them.
//
// usage: logging_throughput_bench [seconds per round, default 5]
#include "bench_bare_client.h"
#include "bench_logger.h"
#include "live_values_clients.h"

#include "platform/local_client.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace korvel;
using namespace korvel::bench;
using SteadyClock = std::chrono::steady_clock;

constexpr int kRounds = 3;
constexpr std::uint32_t kToolboxQueueBytes = 65440; // the largest queue

struct Round {
    long scans = 0;
    long reads = 0; // logging ticks or bare passes, one instrument read each
    double seconds = 1e-9;

    double scansPerSecond() const { return static_cast<double>(scans) / seconds; }
    double millisecondsPerRead() const { return 1e3 * seconds / static_cast<double>(std::max(reads, 1L)); }
};

// The fastest round of one contender.
struct Contender {
    const char *name;
    Round best;

    void keep(const Round &round) {
        if (round.scansPerSecond() > best.scansPerSecond()) best = round;
    }
};

double secondsBetween(SteadyClock::time_point start, SteadyClock::time_point end) {
    return std::chrono::duration<double>(end - start).count();
}

class ThroughputRounds {
public:
    explicit ThroughputRounds(SteadyClock::duration roundTime)
            : logger_({.fast = true, .intervalSeconds = 0.05, .toolbox = true}), roundTime_(roundTime) {}

    Round bare() {
        const auto session = logger_.startedSession(FileFormat::FastBinary);
        const long before = logger_.fetchedScans();
        const auto start = SteadyClock::now();
        const BareReads reads = readRoundRobin(logger_.bcns(), logger_.batchSize(), start + roundTime_, [](int) {});
        const double seconds = secondsBetween(start, SteadyClock::now());
        const Round round{logger_.fetchedScans() - before, reads.passes, seconds};
        session->stopAll();
        if (reads.failures != 0 || round.scans != reads.scans) fail("the bare client's reads failed");
        return round;
    }

    // With clients: the logger serves live-values clients that advise every
    // channel of every instrument.
    Round logged(FileFormat format, bool withClients = false) {
        const long atStart = logger_.fetchedScans();
        const auto session = logger_.startedSession(format);
        std::unique_ptr<LiveValuesClients> clients;
        if (withClients) clients = std::make_unique<LiveValuesClients>(*session);
        const long before = logger_.fetchedScans();
        long ticks = -1; // the last question is not followed by a tick
        const auto start = SteadyClock::now();
        auto asked = start;
        session->runUntil([&] {
            asked = SteadyClock::now();
            ++ticks;
            return asked >= start + roundTime_;
        });
        const Round round{logger_.fetchedScans() - before, ticks, secondsBetween(start, asked)};
        if (clients) updates_ += clients->stop();
        session->stopAll();
        // Fast instruments make no scan once scanning stops, so the files hold
        // exactly the scans fetched in the session.
        const long fetched = logger_.fetchedScans() - atStart;
        if (logger_.scansInFiles() != fetched) {
            std::fprintf(stderr, "%ld scans fetched, %ld in the data files\n", fetched, logger_.scansInFiles());
            missedScans_ = true;
        }
        return round;
    }

    // .bin with every instrument keeping a toolbox queue, and a client that
    // follows them all and never reads, or none.
    Round loggedWithToolboxQueues(bool stuckClient) {
        logger_.setToolboxQueues(kToolboxQueueBytes);
        std::unique_ptr<LocalClient> client;
        if (stuckClient) client = followingClient();
        const Round round = logged(FileFormat::FastBinary);
        logger_.setToolboxQueues(0);
        return round;
    }

    int batchSize() const { return logger_.batchSize(); }
    bool missedScans() const { return missedScans_; }
    long liveValuesUpdates() const { return updates_; }

private:
    // Subscribed to every instrument once the add-on has said so; from then
    // on it reads nothing.
    std::unique_ptr<LocalClient> followingClient() {
        auto client = std::make_unique<LocalClient>("toolbox");
        for (const std::uint16_t bcn : logger_.bcns()) client->sendLine("subscribe " + std::to_string(bcn));
        int subscribed = 0;
        std::string line;
        while (subscribed < kInstruments && client->readLine(line, 5000) == LocalClient::Read::Line)
            if (line.rfind("subscribed ", 0) == 0) ++subscribed;
        if (subscribed < kInstruments) fail("the toolbox add-on did not take the subscriptions");
        return client;
    }

    BenchLogger logger_;
    SteadyClock::duration roundTime_;
    bool missedScans_ = false;
    long updates_ = 0; // taken in by all live-values clients of all rounds
};

void reportRow(const Contender &contender) {
    const Round &best = contender.best;
    std::printf("%-12s %10.0f %10.0f %10.3f", contender.name, best.scansPerSecond(),
                static_cast<double>(best.reads) / best.seconds, best.millisecondsPerRead());
}

// The contender's ratio to the baseline, against the goal.
void reportLogged(const Contender &logged, const Contender &baseline, double goal) {
    const double ratio = logged.best.scansPerSecond() / baseline.best.scansPerSecond();
    reportRow(logged);
    std::printf("   %5.2f (goal %.2f) %s\n", ratio, goal, ratio >= goal ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], kClientsSwitch) == 0) return runLiveValuesClients(argc, argv);
    const int roundSeconds = argc > 1 ? std::atoi(argv[1]) : 5;
    if (roundSeconds <= 0) fail("usage: logging_throughput_bench [seconds per round]");
    ThroughputRounds rounds{std::chrono::seconds(roundSeconds)};
    Contender bare{"bare client", {}};
    Contender bin{".bin", {}};
    Contender csv{".csv", {}};
    Contender queued{".bin, queues", {}};
    Contender stuck{"+ idle client", {}};
    Contender served{".csv+clients", {}};
    for (int round = 0; round < kRounds; ++round) {
        bare.keep(rounds.bare());
        bin.keep(rounds.logged(FileFormat::FastBinary));
        csv.keep(rounds.logged(FileFormat::Ascii));
        queued.keep(rounds.loggedWithToolboxQueues(false));
        stuck.keep(rounds.loggedWithToolboxQueues(true));
        served.keep(rounds.logged(FileFormat::Ascii, true));
    }

    std::printf("%d instruments x %d channels, %d scans per read, %d s per round, best of %d rounds\n", kInstruments,
                kChannels, rounds.batchSize(), roundSeconds, kRounds);
    std::printf("%-12s %10s %10s %10s   %s\n", "", "scans/s", "reads/s", "ms/read", "ratio to bare");
    reportRow(bare);
    std::printf("\n");
    reportLogged(bin, bare, 0.7);
    reportLogged(csv, bare, 0.7);
    std::printf("toolbox queues of %u bytes each: ratio to .bin, then with a client that never reads to without\n",
                kToolboxQueueBytes);
    reportLogged(queued, bin, 0.9);
    reportLogged(stuck, queued, 0.9);
    std::printf("with %d live-values clients, each advising every channel of every instrument (%ld updates taken in)\n",
                kLiveValuesClients, rounds.liveValuesUpdates());
    std::printf("%-12s %10s %10s %10s   %s\n", "", "", "", "", "ratio to .csv");
    reportLogged(served, csv, 0.9);
    std::printf("every scan fetched is in the data files: %s\n", rounds.missedScans() ? "NO" : "yes");
    return rounds.missedScans() ? 1 : 0;
}
