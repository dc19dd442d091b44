#include "bench_instruments.h"

#include "kvlink32.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace korvel::bench {

namespace {

constexpr int kFirstBcn = 1;
constexpr int kAnalogChannels = 20;

int bcnOf(int slot) { return kFirstBcn + slot - 1; }

// Twenty VDC inputs and ten computed differences of pairs of them.
std::string setupText(double intervalSeconds, const std::string &home) {
    std::ostringstream setup;
    setup << "[KorLogger]\r\nSimMode=No\r\n";
    for (int slot = 1; slot <= kInstruments; ++slot) {
        setup << "[Korvel" << slot << "]\r\nBCN=" << bcnOf(slot)
              << "\r\nTriggerType=Intvl\r\nIntvls=" << intervalSeconds << ',' << intervalSeconds
              << "\r\nDataFileEnabled=Yes\r\nDataFile=" << home << "/bcn" << bcnOf(slot)
              << ".bin\r\nFileFormat=Binary\r\nOverWrite=Yes\r\n";
        for (int channel = 1; channel <= kAnalogChannels; ++channel) setup << 'C' << channel << "=VDC,4,\r\n";
        for (int channel = kAnalogChannels + 1; channel <= kChannels; ++channel) {
            const int first = 2 * (channel - kAnalogChannels) - 1;
            setup << 'C' << channel << "=DIFF," << first << ',' << first + 1 << ",\r\n";
        }
    }
    return setup.str();
}

} // namespace

void fail(const std::string &what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

BenchInstruments::BenchInstruments(ScanPace pace, const std::string &extraSetup) {
    std::vector<std::string> arguments{"--general", "--port", "0"};
    if (pace.fast) arguments.emplace_back("--fast");
    std::vector<std::tuple<int, std::string, int>> entries;
    for (int slot = 1; slot <= kInstruments; ++slot) {
        // Loopback only; the port the simulator picks is free on every address.
        const std::string address = "127.0.0." + std::to_string(bcnOf(slot));
        arguments.insert(arguments.end(), {"--instrument", std::to_string(bcnOf(slot)) + ":M200A:" + address});
        // The faster of the two models.
        entries.emplace_back(bcnOf(slot), address, KVX_MODEL_M200A);
    }
    sim_ = std::make_unique<kvtest::SimProcess>(arguments);
    kvtest::writeCcfFile(ccfDir_.path(), KVX_NET_GENERAL, sim_->basePort(), entries);

    setupFile_ = home_.path() + "/bench.stp";
    std::ofstream(setupFile_, std::ios::binary) << setupText(pace.intervalSeconds, home_.path()) << extraSetup;
}

long BenchInstruments::fetchedScans() {
    long fetched = 0;
    try {
        for (const std::uint16_t bcn : bcns()) fetched += sim_->counters(bcn).fetched;
    } catch (const std::runtime_error &error) {
        fail(error.what());
    }
    return fetched;
}

std::vector<std::uint16_t> BenchInstruments::bcns() const {
    std::vector<std::uint16_t> numbers;
    for (int slot = 1; slot <= kInstruments; ++slot) numbers.push_back(static_cast<std::uint16_t>(bcnOf(slot)));
    return numbers;
}

} // namespace korvel::bench
