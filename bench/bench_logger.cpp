#include "bench_logger.h"

#include "logging/logging_run.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace korvel::bench {

namespace {

// Lines before the first scan: six of the ASCII header, one more (the channel
// checksum) in a .bin file.
constexpr int kAsciiHeaderLines = 6;
constexpr int kBinaryHeaderLines = 7;

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

BenchLogger::BenchLogger(ScanPace pace) : instruments_(pace) {
    if (pace.toolbox) {
        std::ofstream(instruments_.home() + "/korvel32.ini", std::ios::binary)
            << "[Defaults]\r\nDevelopersToolbox=True\r\n";
        std::filesystem::create_symlink(QPEXT32_PATH, instruments_.home() + "/libqpext32.so");
    }

    CommandLine commandLine;
    commandLine.setupFile = instruments_.setupFile();
    startup_ = std::make_unique<ApplicationStartup>(state_.startupTarget(), windows_, ui_, commandLine,
                                                    StartupPaths::ofThisProcess());
    if (!startup_->start()) fail("the logger did not start");
    if (pace.toolbox && !startup_->toolboxEnabled()) fail("the toolbox add-on did not load");
    if (state_.table.count() != kInstruments)
        fail("the setup did not load all " + std::to_string(kInstruments) + " instruments");
}

BenchLogger::~BenchLogger() { startup_->shutDown(); }

std::string BenchLogger::dataFilePath(int slot, FileFormat format) const {
    return instruments_.home() + "/bcn" + std::to_string(slot) + (format == FileFormat::Ascii ? ".csv" : ".bin");
}

std::unique_ptr<LoggingSession> BenchLogger::startedSession(FileFormat format) {
    for (int slot = 1; slot <= kInstruments; ++slot) {
        DataFileSetup &dataFile = state_.table.slot(slot).setup->dataFile;
        dataFile.format = format;
        dataFile.path = dataFilePath(slot, format);
    }
    lastFormat_ = format;
    auto session =
        std::make_unique<LoggingSession>(state_.sessionTarget(instruments_.home() + "/"), ui_, clock_, quiet_);
    if (!session->startAll()) fail("Start All did not start every instrument");
    return session;
}

long BenchLogger::scansInFiles() const {
    const std::uint32_t recordSize = scanRecordSize(*state_.table.slot(1).setup);
    long scans = 0;
    for (int slot = 1; slot <= kInstruments; ++slot)
        scans += scansInDataFile(dataFilePath(slot, lastFormat_), lastFormat_, recordSize);
    return scans;
}

void BenchLogger::setToolboxQueues(std::uint32_t bytes) {
    for (int slot = 1; slot <= kInstruments; ++slot) {
        state_.table.slot(slot).setup->toolboxQueueSize = bytes;
        if (!state_.toolbox.announceInstrument(slot)) fail("the toolbox add-on has no room for the queues");
    }
}

int BenchLogger::batchSize() const { return scanBatchSize(scanRecordSize(*state_.table.slot(1).setup), false); }

} // namespace korvel::bench
