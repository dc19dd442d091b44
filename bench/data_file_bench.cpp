// Writes 100,000 scans of 30 channels to a .csv and a .bin data file and
// times each against a plain baseline in the same run: for .csv the same
// readings' value texts printed with snprintf("%#.6G"), for .bin the same
// records written with one write per batch. Also checks that the .csv
// readings are byte for byte what the snprintf texts are.
#include "datafiles/data_file.h"
#include "datafiles/scan_batch.h"
#include "datafiles/scan_time.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "bench_scans.h"
#include "printf_number_texts.h"

namespace {

using namespace korvel;

constexpr int kScans = 100000;
constexpr int kChannels = 30;
constexpr std::size_t kRecordSize = 28 + 4 * kChannels;
constexpr int kBatch = static_cast<int>(ScanBatch::kRecordArea / kRecordSize);
constexpr int kRounds = 7;

// One scan a second from 2024-03-01 00:00.
std::vector<ScanRecord> makeScans() {
    BenchScans source(3);
    std::vector<ScanRecord> scans;
    scans.reserve(kScans);
    for (int i = 0; i < kScans; ++i) scans.push_back(source.next(kChannels));
    return scans;
}

// The batches as reads leave them in the scan buffer.
std::vector<ScanBatch> makeBatches(const std::vector<ScanRecord> &scans) {
    std::vector<ScanBatch> batches;
    for (int first = 0; first < kScans; first += kBatch) {
        ScanBatch &buffer = batches.emplace_back();
        const int count = std::min(kBatch, kScans - first);
        auto *records = static_cast<std::uint8_t *>(buffer.block()) + sizeof(ScanBufferHeader);
        for (int i = 0; i < count; ++i)
            std::memcpy(records + kRecordSize * static_cast<std::size_t>(i),
                        &scans[static_cast<std::size_t>(first + i)], kRecordSize);
        buffer.setHeader({static_cast<std::int32_t>(kRecordSize), count, 0});
    }
    return batches;
}

double secondsOf(const std::function<void()> &work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The machine is shared: each writer and its baseline take turns, and the
// fastest round of each counts. Each round starts without its file, as
// emptying a file still being written back to disk costs milliseconds that
// belong to neither writer.
struct Timed {
    std::string path;
    std::function<void()> write;
    double best = 1e9;
};

void timeInTurns(Timed &writer, Timed &baseline) {
    for (int round = 0; round < kRounds; ++round) {
        for (Timed *timed : {&writer, &baseline}) {
            std::filesystem::remove(timed->path);
            timed->best = std::min(timed->best, secondsOf(timed->write));
        }
    }
}

void writeDataFile(const InstrumentSetup &setup, std::vector<ScanBatch> &batches) {
    DataFile data({instrumentPart(1, setup), false, {}}, RegionalFormats{});
    if (data.open(1709251200) != DataFileOpen::Opened) {
        std::fprintf(stderr, "cannot open %s\n", setup.dataFile.path.c_str());
        std::exit(1);
    }
    DaylightStates daylight;
    for (ScanBatch &buffer : batches) {
        if (!data.writeBatch(1, buffer, daylight)) std::exit(1);
    }
    data.close();
}

// The baselines write each batch with one call, as the logger does.
void writeBaseline(const std::string &path, std::vector<ScanBatch> &batches, bool asText) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    std::string text;
    for (ScanBatch &buffer : batches) {
        const int count = buffer.header().count;
        std::string_view bytes(static_cast<const char *>(buffer.block()) + sizeof(ScanBufferHeader),
                               kRecordSize * static_cast<std::size_t>(count));
        if (asText) {
            text.clear();
            for (int i = 0; i < count; ++i) {
                const ScanRecord scan = buffer.record(i);
                for (int channel = 0; channel < kChannels; ++channel) {
                    char value[64];
                    const std::size_t length =
                        oracle::printfValueText(scan.readings[channel], '.', value, sizeof value);
                    text.append(", ", channel == 0 ? 0 : 2).append(value, length);
                }
                text += "\r\n";
            }
            bytes = text;
        }
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::exit(1);
    }
    ::close(fd);
}

std::vector<std::string> linesOf(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The readings of each .csv scan line: between the time and the four
// status columns.
bool readingsMatchBaseline(const std::string &csvPath, const std::string &baselinePath) {
    const auto csv = linesOf(csvPath);
    const auto baseline = linesOf(baselinePath);
    if (csv.size() != baseline.size() + 6) return false;
    for (std::size_t i = 0; i < baseline.size(); ++i) {
        std::string line = csv[i + 6];
        line.erase(0, line.find(", ") + 2);
        for (int status = 0; status < 4; ++status) line.erase(line.rfind(", "));
        if (line + "\r" != baseline[i]) {
            std::printf("line %zu: %s\nnot:    %s\n", i + 7, line.c_str(), baseline[i].c_str());
            return false;
        }
    }
    return true;
}

void report(const char *name, double seconds, double baselineSeconds, double goal) {
    const double ratio = baselineSeconds / seconds;
    std::printf("%-5s %10.0f scans/s   baseline %10.0f scans/s   ratio %.2f (goal %.2f) %s\n", name, kScans / seconds,
                kScans / baselineSeconds, ratio, goal, ratio >= goal ? "met" : "MISSED");
}

} // namespace

int main() {
    ::setenv("TZ", "America/New_York", 1);
    const std::string dir = std::filesystem::temp_directory_path() / ("korvel-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::vector<ScanBatch> batches = makeBatches(makeScans());

    InstrumentSetup setup;
    for (int channel = 1; channel <= kChannels; ++channel) setup.channel(channel).function = ChannelFunction::Vdc;
    setup.dataFile.mode = FileMode::Overwrite;

    InstrumentSetup csvSetup = setup;
    csvSetup.dataFile.format = FileFormat::Ascii;
    csvSetup.dataFile.path = dir + "/bench.csv";
    Timed csv{csvSetup.dataFile.path, [&] { writeDataFile(csvSetup, batches); }};
    Timed printed{dir + "/baseline.txt", [&] { writeBaseline(printed.path, batches, true); }};
    timeInTurns(csv, printed);

    InstrumentSetup binSetup = setup;
    binSetup.dataFile.format = FileFormat::FastBinary;
    binSetup.dataFile.path = dir + "/bench.bin";
    Timed bin{binSetup.dataFile.path, [&] { writeDataFile(binSetup, batches); }};
    Timed raw{dir + "/baseline.raw", [&] { writeBaseline(raw.path, batches, false); }};
    timeInTurns(bin, raw);

    std::printf("%d scans of %d channels, best of %d rounds\n", kScans, kChannels, kRounds);
    report(".csv", csv.best, printed.best, 1.5);
    report(".bin", bin.best, raw.best, 0.8);
    const bool identical = readingsMatchBaseline(dir + "/bench.csv", dir + "/baseline.txt");
    std::printf(".csv readings %s their snprintf texts\n", identical ? "are byte-identical to" : "DIFFER from");
    std::filesystem::remove_all(dir);
    return identical ? 0 : 1;
}
