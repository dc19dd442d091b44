#include "bench_logger.h"

#include "kvlink32.h"
#include "logging/logging_run.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <tuple>

#include <sys/resource.h>

namespace korvel::bench {

namespace {

constexpr int kFirstBcn = 1;
constexpr int kAnalogChannels = 20;
// Lines before the first scan: six of the ASCII header, one more (the channel
// checksum) in a .bin file.
constexpr int kAsciiHeaderLines = 6;
constexpr int kBinaryHeaderLines = 7;

int bcnOf(int slot) { return kFirstBcn + slot - 1; }

std::string fileContents(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The header is text; the records follow the CR LF of its last line.
long scansInDataFile(const std::string &path, FileFormat format, std::uint32_t recordSize) {
    const std::string bytes = fileContents(path);
    const int headerLines = format == FileFormat::Ascii ? kAsciiHeaderLines : kBinaryHeaderLines;
    std::size_t recordsAt = 0;
    for (int line = 0; line < headerLines; ++line) {
        const std::size_t end = bytes.find("\r\n", recordsAt);
        if (end == std::string::npos) return 0;
        recordsAt = end + 2;
    }
    const std::string_view records(bytes.data() + recordsAt, bytes.size() - recordsAt);
    if (format == FileFormat::Ascii) return static_cast<long>(std::count(records.begin(), records.end(), '\n'));
    return static_cast<long>(records.size() / recordSize);
}

} // namespace

void fail(const std::string &what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

BenchLogger::BenchLogger(ScanPace pace) {
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
    ::setenv("KVLINK32_CCF_DIR", ccfDir_.path().c_str(), 1);
    ::setenv("KORVEL32_HOME", home_.path().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", home_.path().c_str(), 1);

    CommandLine commandLine;
    commandLine.setupFile = writeSetupFile(pace.intervalSeconds);
    startup_ = std::make_unique<ApplicationStartup>(state_.startupTarget(), windows_, ui_, commandLine,
                                                    StartupPaths::ofThisProcess());
    if (!startup_->start()) fail("the logger did not start");
    if (state_.table.count() != kInstruments)
        fail("the setup did not load all " + std::to_string(kInstruments) + " instruments");
}

BenchLogger::~BenchLogger() { startup_->shutDown(); }

// Twenty VDC inputs and ten computed differences of pairs of them.
std::string BenchLogger::writeSetupFile(double intervalSeconds) const {
    std::ostringstream setup;
    setup << "[KorLogger]\r\nSimMode=No\r\n";
    for (int slot = 1; slot <= kInstruments; ++slot) {
        setup << "[Korvel" << slot << "]\r\nBCN=" << bcnOf(slot)
              << "\r\nTriggerType=Intvl\r\nIntvls=" << intervalSeconds << ',' << intervalSeconds
              << "\r\nDataFileEnabled=Yes\r\nOverWrite=Yes\r\n";
        for (int channel = 1; channel <= kAnalogChannels; ++channel) setup << 'C' << channel << "=VDC,4,\r\n";
        for (int channel = kAnalogChannels + 1; channel <= kChannels; ++channel) {
            const int first = 2 * (channel - kAnalogChannels) - 1;
            setup << 'C' << channel << "=DIFF," << first << ',' << first + 1 << ",\r\n";
        }
    }
    const std::string path = home_.path() + "/bench.stp";
    std::ofstream(path, std::ios::binary) << setup.str();
    return path;
}

std::string BenchLogger::dataFilePath(int slot, FileFormat format) const {
    return home_.path() + "/bcn" + std::to_string(bcnOf(slot)) + (format == FileFormat::Ascii ? ".csv" : ".bin");
}

std::unique_ptr<LoggingSession> BenchLogger::startedSession(FileFormat format) {
    for (int slot = 1; slot <= kInstruments; ++slot) {
        DataFileSetup &dataFile = state_.table.slot(slot).setup->dataFile;
        dataFile.format = format;
        dataFile.path = dataFilePath(slot, format);
    }
    lastFormat_ = format;
    auto session = std::make_unique<LoggingSession>(state_.sessionTarget(home_.path() + "/"), ui_, clock_, quiet_);
    if (!session->startAll()) fail("Start All did not start every instrument");
    return session;
}

long BenchLogger::fetchedScans() {
    long fetched = 0;
    try {
        for (const std::uint16_t bcn : bcns()) fetched += sim_->counters(bcn).fetched;
    } catch (const std::runtime_error &error) {
        fail(error.what());
    }
    return fetched;
}

long BenchLogger::scansInFiles() const {
    const std::uint32_t recordSize = scanRecordSize(*state_.table.slot(1).setup);
    long scans = 0;
    for (int slot = 1; slot <= kInstruments; ++slot)
        scans += scansInDataFile(dataFilePath(slot, lastFormat_), lastFormat_, recordSize);
    return scans;
}

std::vector<std::uint16_t> BenchLogger::bcns() const {
    std::vector<std::uint16_t> numbers;
    for (int slot = 1; slot <= kInstruments; ++slot) numbers.push_back(state_.table.slot(slot).bcn);
    return numbers;
}

int BenchLogger::batchSize() const { return scanBatchSize(scanRecordSize(*state_.table.slot(1).setup), false); }

} // namespace korvel::bench
