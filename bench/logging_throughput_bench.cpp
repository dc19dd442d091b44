// Sustained logging throughput: 20 simulated instruments of 30 channels in
// fast mode (each scan fetch first makes the scans it asks for) logged into
// .bin and then .csv data files for a fixed time per round, against a bare
// kvlink32 client that reads the same instruments in the same round robin
// with the same batch size and does nothing with the scans. The logger starts
// the instruments for every round, the bare client's too, so all three read
// identically configured instruments.
//
// The logging loop rests 1 ms after every tick that read scans, which caps it
// at one batch per rest; the table also shows what a tick costs without the
// rest, and what the logger would reach without it.
//
// usage: logging_throughput_bench [seconds per round, default 5]
#include "bench_bare_client.h"
#include "bench_logger.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace korvel;
using namespace korvel::bench;
using SteadyClock = std::chrono::steady_clock;

constexpr int kRounds = 3;
constexpr auto kDrainBound = std::chrono::seconds(10);

struct Round {
    long scans = 0;
    long reads = 0; // logging ticks or bare passes, one instrument read each
    double seconds = 1e-9;
    double readingSeconds = 1e-9; // the ticks alone, without the loop's rests

    double scansPerSecond() const { return static_cast<double>(scans) / seconds; }
    double scansPerReadingSecond() const { return static_cast<double>(scans) / readingSeconds; }
    double millisecondsPer(double total) const { return 1e3 * total / static_cast<double>(std::max(reads, 1L)); }
};

// The fastest round of one contender.
struct Contender {
    const char *name;
    Round best;

    void keep(const Round &round)
    {
        if (round.scansPerSecond() > best.scansPerSecond())
            best = round;
    }
};

double secondsBetween(SteadyClock::time_point start, SteadyClock::time_point end)
{
    return std::chrono::duration<double>(end - start).count();
}

class ThroughputRounds {
public:
    explicit ThroughputRounds(SteadyClock::duration roundTime) : logger_({true, 0.05}), roundTime_(roundTime) {}

    Round bare()
    {
        const auto session = logger_.startedSession(FileFormat::FastBinary);
        const long before = logger_.fetchedScans();
        const auto start = SteadyClock::now();
        const BareReads reads = readRoundRobin(logger_.bcns(), logger_.batchSize(), start + roundTime_, [](int) {});
        const double seconds = secondsBetween(start, SteadyClock::now());
        const Round round{logger_.fetchedScans() - before, reads.passes, seconds, seconds};
        session->stopAll(kDrainBound);
        if (reads.failures != 0 || round.scans != reads.scans)
            fail("the bare client's reads failed");
        return round;
    }

    Round logged(FileFormat format)
    {
        const auto session = logger_.startedSession(format);
        const long before = logger_.fetchedScans();
        long ticks = -1; // the last question is not followed by a tick
        double tickSeconds = 0;
        const auto start = SteadyClock::now();
        auto asked = start;
        session->runUntil([&] {
            const auto now = SteadyClock::now();
            if (ticks >= 0)
                tickSeconds += secondsBetween(asked, logger_.clock().lastRead);
            asked = now;
            ++ticks;
            return now >= start + roundTime_;
        });
        const Round round{logger_.fetchedScans() - before, ticks, secondsBetween(start, asked), tickSeconds};
        session->stopAll(kDrainBound);
        // Fast instruments make no scan once scanning stops, so the files hold
        // exactly the scans fetched while the clock ran.
        if (logger_.scansInFiles() != round.scans) {
            std::fprintf(stderr, "%ld scans fetched, %ld in the data files\n", round.scans, logger_.scansInFiles());
            missedScans_ = true;
        }
        return round;
    }

    int batchSize() const { return logger_.batchSize(); }
    bool missedScans() const { return missedScans_; }

private:
    BenchLogger logger_;
    SteadyClock::duration roundTime_;
    bool missedScans_ = false;
};

void reportRow(const Contender &contender)
{
    const Round &best = contender.best;
    std::printf("%-12s %10.0f %10.0f %10.3f %10.3f", contender.name, best.scansPerSecond(),
                static_cast<double>(best.reads) / best.seconds, best.millisecondsPer(best.readingSeconds),
                best.millisecondsPer(best.seconds - best.readingSeconds));
}

// The figure without the loop's rests is the scans over the ticks' own time:
// what the loop would reach if it read on at once after a tick that read.
void reportLogged(const Contender &logged, const Contender &bare, double goal)
{
    const double ratio = logged.best.scansPerSecond() / bare.best.scansPerSecond();
    const double withoutRest = logged.best.scansPerReadingSecond() / bare.best.scansPerSecond();
    reportRow(logged);
    std::printf("   %5.2f (goal %.2f) %-6s  %5.2f\n", ratio, goal, ratio >= goal ? "met" : "MISSED", withoutRest);
}

} // namespace

int main(int argc, char **argv)
{
    const int roundSeconds = argc > 1 ? std::atoi(argv[1]) : 5;
    if (roundSeconds <= 0)
        fail("usage: logging_throughput_bench [seconds per round]");
    ThroughputRounds rounds{std::chrono::seconds(roundSeconds)};
    Contender bare{"bare client", {}};
    Contender bin{".bin", {}};
    Contender csv{".csv", {}};
    for (int round = 0; round < kRounds; ++round) {
        bare.keep(rounds.bare());
        bin.keep(rounds.logged(FileFormat::FastBinary));
        csv.keep(rounds.logged(FileFormat::Ascii));
    }

    std::printf("%d instruments x %d channels, %d scans per read, %d s per round, best of %d rounds\n", kInstruments,
                kChannels, rounds.batchSize(), roundSeconds, kRounds);
    std::printf("%-12s %10s %10s %10s %10s   %-23s %s\n", "", "scans/s", "reads/s", "ms/read", "ms rest", "ratio to bare",
                "without rests");
    reportRow(bare);
    std::printf("\n");
    reportLogged(bin, bare, 0.7);
    reportLogged(csv, bare, 0.5);
    std::printf("every scan fetched is in the data files: %s\n", rounds.missedScans() ? "NO" : "yes");
    return rounds.missedScans() ? 1 : 0;
}
