// The idle cost of logging: 20 simulated instruments of 30 channels, each
// scanning once a second into a .csv data file, and the CPU time the logger's
// process spends over the period as a share of one core (the simulator runs in
// its own process and is not counted). The baseline, for the same period on
// the same instruments: a bare kvlink32 client polling them in the same round
// robin with the same rests as the logging loop (none while a cycle over the
// instruments brings scans, a growing rest after one that brought none), which
// is what the polling alone costs. The logger is measured again while it
// serves 50 live-values clients (in a process of their own), each advising
// every channel of every instrument.
//
// usage: logging_idle_bench [seconds, default 60]
#include "bench_bare_client.h"
#include "bench_logger.h"
#include "live_values_clients.h"
#include "process_cpu.h"

#include "logging/tick_rest.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

using namespace korvel;
using namespace korvel::bench;
using SteadyClock = std::chrono::steady_clock;

constexpr double kGoalPercent = 2.0;
constexpr auto kFirstScanBound = std::chrono::seconds(15);

struct Period {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long scans = 0;
    long reads = 0;
    long updates = 0; // taken in by the live-values clients

    double percentOfCore() const { return 100.0 * cpuSeconds / wallSeconds; }
};

// Measures the work between the two calls.
class PeriodMeter {
public:
    PeriodMeter(BenchLogger &logger) : logger_(logger), scans_(logger.fetchedScans()) {}

    Period end(long reads) const {
        const double cpu = processCpuSeconds() - cpu_;
        const double wall = std::chrono::duration<double>(SteadyClock::now() - start_).count();
        return {wall, cpu, logger_.fetchedScans() - scans_, reads};
    }

private:
    BenchLogger &logger_;
    long scans_;
    SteadyClock::time_point start_ = SteadyClock::now();
    double cpu_ = processCpuSeconds();
};

// A session logging until its first scans arrive: the instruments begin a few
// seconds after Start All, and the period is to measure steady logging.
std::unique_ptr<LoggingSession> loggingSession(BenchLogger &logger) {
    auto session = logger.startedSession(FileFormat::Ascii);
    const auto bound = SteadyClock::now() + kFirstScanBound;
    session->runUntil([&] { return session->scansRead() || SteadyClock::now() >= bound; });
    if (!session->scansRead()) fail("no instrument delivered a scan");
    return session;
}

// With clients: the logger serves that many live-values clients, each of
// which advises every channel of every instrument.
Period logged(BenchLogger &logger, SteadyClock::duration period, bool withClients = false) {
    const auto session = loggingSession(logger);
    std::unique_ptr<LiveValuesClients> clients;
    if (withClients) clients = std::make_unique<LiveValuesClients>(*session);
    long ticks = -1; // the last question is not followed by a tick
    const PeriodMeter meter(logger);
    const auto until = SteadyClock::now() + period;
    session->runUntil([&] {
        ++ticks;
        return SteadyClock::now() >= until;
    });
    Period measured = meter.end(ticks);
    if (clients) measured.updates = clients->stop();
    session->stopAll();
    return measured;
}

Period bare(BenchLogger &logger, SteadyClock::duration period) {
    const auto session = loggingSession(logger);
    const PeriodMeter meter(logger);
    const auto instruments = static_cast<long>(logger.bcns().size());
    IdleCycle cycle;
    TickRest rest;
    long pass = 0;
    const BareReads reads =
        readRoundRobin(logger.bcns(), logger.batchSize(), SteadyClock::now() + period, [&](int scans) {
            cycle.count(scans, ++pass % instruments == 0);
            std::this_thread::sleep_for(rest.after(cycle.idle()));
        });
    const Period measured = meter.end(reads.passes);
    session->stopAll();
    return measured;
}

void report(const char *name, const Period &period) {
    std::printf("%-12s %8.1f %8.1f %8.0f %8.3f %7.2f %%\n", name, period.wallSeconds,
                static_cast<double>(period.scans) / period.wallSeconds,
                static_cast<double>(period.reads) / period.wallSeconds, period.cpuSeconds, period.percentOfCore());
}

void reportGoal(const char *name, const Period &period) {
    std::printf("%s %.2f %% of a core (goal below %.0f %%) %s\n", name, period.percentOfCore(), kGoalPercent,
                period.percentOfCore() < kGoalPercent ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], kClientsSwitch) == 0) return runLiveValuesClients(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (seconds <= 0) fail("usage: logging_idle_bench [seconds]");
    BenchLogger logger({false, 1.0});
    const Period logging = logged(logger, std::chrono::seconds(seconds));
    const Period served = logged(logger, std::chrono::seconds(seconds), true);
    const Period polling = bare(logger, std::chrono::seconds(seconds));

    std::printf("%d instruments x %d channels, one scan a second each, .csv data files\n", kInstruments, kChannels);
    std::printf("%-12s %8s %8s %8s %8s %9s\n", "", "seconds", "scans/s", "reads/s", "cpu s", "of a core");
    report("logger", logging);
    report("+ clients", served);
    report("bare client", polling);
    reportGoal("logger", logging);
    std::printf("(+ clients: %d live-values clients, each advising every channel of every instrument, took in "
                "%ld updates)\n",
                kLiveValuesClients, served.updates);
    reportGoal("logger + clients", served);
    return 0;
}
