// Converting a Fast data file to ASCII, timed against two baselines in the
// same run on the same file: a straightforward conversion written here with
// stdio and snprintf for every number (the goal is 3 times its speed, with
// byte-identical output), and a raw copy of the file with read and write
// (reported; the aim is at most 4 times its time). The file holds scans of
// 20 channels a second apart with readings of every engineering step.
//
// usage: conversion_bench [megabytes of .bin file, default 10]
#include "datafiles/data_file.h"
#include "datafiles/file_conversions.h"
#include "datafiles/scan_batch.h"
#include "datafiles/scan_time.h"
#include "datafiles/serial_date.h"
#include "platform/printing_user_interface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "bench_scans.h"
#include "printf_number_texts.h"

namespace {

using namespace korvel;

constexpr int kChannels = 20;
constexpr std::size_t kRecordSize = 28 + 4 * kChannels;
constexpr int kHeaderLines = 7;
constexpr int kRounds = 3;

// The processor time of this thread, in the program and in the kernel for
// it: on a machine that several share, the time on the clock mostly tells how
// long the thread waited for a core.
double processorSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double secondsOf(const std::function<void()> &work) {
    const double start = processorSeconds();
    work();
    return processorSeconds() - start;
}

// Logs the scans with the logger's own .bin writer, a batch at a time.
void writeBinaryFile(const std::string &path, std::size_t megabytes) {
    InstrumentSetup setup;
    for (int channel = 1; channel <= kChannels; ++channel) setup.channel(channel).function = ChannelFunction::Vdc;
    setup.dataFile.path = path;
    setup.dataFile.mode = FileMode::Overwrite;
    setup.dataFile.format = FileFormat::FastBinary;
    DataFile data({instrumentPart(1, setup), false, {}}, RegionalFormats{});
    if (data.open(1709251200) != DataFileOpen::Opened) std::exit(1);

    BenchScans source(2);
    const std::size_t scans = megabytes * 1000000 / kRecordSize;
    constexpr int kBatch = static_cast<int>(ScanBatch::kRecordArea / kRecordSize);
    ScanBatch batch;
    DaylightStates daylight;
    for (std::size_t first = 0; first < scans; first += kBatch) {
        const int count = static_cast<int>(std::min<std::size_t>(kBatch, scans - first));
        batch.setHeader({static_cast<std::int32_t>(kRecordSize), count, 0});
        for (int i = 0; i < count; ++i) batch.setRecord(i, source.next(kChannels));
        if (!data.writeBatch(1, batch, daylight)) std::exit(1);
    }
    data.close();
}

class SilentProgress : public ConversionProgress {
public:
    void begin() override {}
    void showPercent(int) override {}
    bool abortRequested() override { return false; }
    void end() override {}
};

void convertWithEngine(const std::string &source, const std::string &target) {
    std::ostringstream said;
    PrintingUserInterface ui(AnswerPolicy::Accept, said);
    SilentProgress progress;
    const RegionalFormats formats;
    if (convertFile(ConversionKind::BinaryToAscii, {source, target}, {formats, ui}, progress) !=
        ConversionOutcome::Complete) {
        std::fprintf(stderr, "conversion failed: %s\n", said.str().c_str());
        std::exit(1);
    }
}

// The conversion as it is first written: stdio streams, one record read at
// a time, snprintf for every number.
void convertStraightforwardly(const std::string &source, const std::string &target) {
    std::FILE *in = std::fopen(source.c_str(), "rb");
    std::FILE *out = std::fopen(target.c_str(), "wb");
    if (!in || !out) std::exit(1);
    char line[4096];
    for (int number = 1; number <= kHeaderLines && std::fgets(line, sizeof line, in); ++number) {
        if (number == 2)
            std::fprintf(out, "\"%s\"\r\n", std::filesystem::path(target).filename().c_str());
        else if (number > 2)
            std::fputs(line, out);
    }
    DaylightStates daylight;
    ScanRecord scan{};
    while (std::fread(&scan, kRecordSize, 1, in) == 1) {
        const ScanTime time = convertScanTime(scan.time, daylight);
        std::fputs(serialDateText(time.local, scan.msAndDio & 0xFFFFu, '.').c_str(), out);
        for (int c = 0; c < kChannels; ++c) {
            char value[64];
            oracle::printfValueText(scan.readings[c], '.', value, sizeof value);
            std::fprintf(out, ", %s", value);
        }
        std::fprintf(out, ", %u, %lu, %lu, %lu\r\n", (scan.msAndDio >> 16) & 0xFFu,
                     static_cast<unsigned long>(scan.totalizer), static_cast<unsigned long>(scan.alarm1),
                     static_cast<unsigned long>(scan.alarm2));
    }
    std::fclose(in);
    if (std::fclose(out) != 0) std::exit(1);
}

void copyRaw(const std::string &source, const std::string &target) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    static char buffer[256 * 1024];
    for (ssize_t got; (got = ::read(in, buffer, sizeof buffer)) > 0;) {
        if (::write(out, buffer, static_cast<std::size_t>(got)) != got) std::exit(1);
    }
    ::close(in);
    ::close(out);
}

std::string bytesOf(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Timed {
    const char *name;
    std::string target;
    std::function<void(const std::string &, const std::string &)> run;
    double best = 1e9;
};

} // namespace

int main(int argc, char **argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10;
    if (megabytes == 0) {
        std::fprintf(stderr, "usage: conversion_bench [megabytes, default 10]\n");
        return 2;
    }
    ::setenv("TZ", "America/New_York", 1);
    const std::string dir = std::filesystem::temp_directory_path() / ("korvel-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir + "/engine");
    std::filesystem::create_directories(dir + "/printf");
    const std::string source = dir + "/data.bin";
    writeBinaryFile(source, megabytes);

    Timed contestants[] = {
        {"engine", dir + "/engine/data.csv", convertWithEngine},
        {"snprintf", dir + "/printf/data.csv", convertStraightforwardly},
        {"copy", dir + "/copy.bin", copyRaw},
    };
    // The machine is shared: the contestants take turns and the fastest
    // round of each counts. Each round starts without its target, as
    // emptying a file still being written back costs what belongs to none.
    for (int round = 0; round < kRounds; ++round) {
        for (Timed &timed : contestants) {
            std::filesystem::remove(timed.target);
            timed.best = std::min(timed.best, secondsOf([&] { timed.run(source, timed.target); }));
        }
    }
    const Timed &engine = contestants[0];
    const Timed &printed = contestants[1];
    const Timed &copy = contestants[2];
    const bool identical = bytesOf(engine.target) == bytesOf(printed.target);
    const double sourceMegabytes = static_cast<double>(std::filesystem::file_size(source)) / 1e6;
    const double targetMegabytes = static_cast<double>(std::filesystem::file_size(engine.target)) / 1e6;

    std::printf("%.1f MB .bin (%d channels) to %.1f MB .csv, best of %d rounds\n", sourceMegabytes, kChannels,
                targetMegabytes, kRounds);
    for (const Timed &timed : contestants)
        std::printf("%-9s %7.3f s of processor time  %7.1f MB/s of .bin\n", timed.name, timed.best,
                    sourceMegabytes / timed.best);
    const double speedUp = printed.best / engine.best;
    std::printf("engine against snprintf: %.2f times as fast (goal 3.00) %s\n", speedUp,
                speedUp >= 3.0 ? "met" : "MISSED");
    std::printf("engine against a raw copy: %.2f times its time (aim 4.00 at most)\n", engine.best / copy.best);
    std::printf("output %s\n", identical ? "byte-identical" : "DIFFERS");
    std::filesystem::remove_all(dir);
    return identical ? 0 : 1;
}
