// A disk that fills up part way through a write must leave only whole
// records behind, and writing must go on once there is room again. The file
// size limit of a child process stands in for the full disk.
#include "datafiles/data_file.h"
#include "datafiles/scan_batch.h"
#include "datafiles/scan_time.h"

#include "file_bytes.h"
#include "scoped_time_zone.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvel {
namespace {

constexpr std::size_t kRecordSize = 36; // two channels

ScanRecord scanNumbered(int number) {
    ScanRecord scan{};
    scan.time = {12, 0, static_cast<std::uint8_t>(number), 7, 0, 1, 24, 0};
    scan.readings[0] = static_cast<float>(number);
    scan.readings[1] = 0.5f;
    return scan;
}

void fillBuffer(ScanBatch &buffer, int first, int count) {
    auto *records = static_cast<std::uint8_t *>(buffer.block()) + sizeof(ScanBufferHeader);
    for (int i = 0; i < count; ++i) {
        const ScanRecord scan = scanNumbered(first + i);
        std::memcpy(records + kRecordSize * static_cast<std::size_t>(i), &scan, kRecordSize);
    }
    buffer.setHeader({static_cast<std::int32_t>(kRecordSize), count, 0});
}

void setFileSizeLimit(rlim_t limit) {
    rlimit fileSize{};
    ::getrlimit(RLIMIT_FSIZE, &fileSize);
    fileSize.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &fileSize);
}

// In a child: writes scans 1..5 while the disk holds only a little over two
// more records, then scan 9 once there is room. The exit code tells what
// went differently.
int writeThroughAFullDisk(const InstrumentSetup &setup) {
    std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails with EFBIG
    DataFile data({instrumentPart(1, setup), false, {}}, RegionalFormats{});
    if (data.open(1719849600) != DataFileOpen::Opened) return 2;
    DaylightStates daylight;
    ScanBatch buffer;
    fillBuffer(buffer, 1, 1);
    if (!data.writeBatch(1, buffer, daylight)) return 3;
    const auto used = std::filesystem::file_size(setup.dataFile.path);
    setFileSizeLimit(static_cast<rlim_t>(used + 100)); // room for less than the next batch
    fillBuffer(buffer, 2, 4);
    if (data.writeBatch(1, buffer, daylight)) return 4;
    setFileSizeLimit(RLIM_INFINITY);
    fillBuffer(buffer, 9, 1);
    if (!data.writeBatch(1, buffer, daylight)) return 5;
    return data.close() ? 0 : 6;
}

class FullDiskTest : public ::testing::TestWithParam<FileFormat> {
protected:
    FullDiskTest() {
        setup.channel(1).function = ChannelFunction::Vdc;
        setup.channel(2).function = ChannelFunction::Vdc;
        setup.dataFile.format = GetParam();
        setup.dataFile.path = dir.path() + (GetParam() == FileFormat::FastBinary ? "/full.bin" : "/full.csv");
    }

    int runInChild() {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(writeThroughAFullDisk(setup));
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const ScopedTimeZone zone{"Europe/Berlin"};
    kvtest::TempDir dir;
    InstrumentSetup setup;
};

TEST_P(FullDiskTest, KeepsWholeRecordsAndResumesWhenThereIsRoom) {
    ASSERT_EQ(runInChild(), 0);
    const std::string bytes = fileBytes(setup.dataFile.path);
    const std::size_t records = bytes.find("01ALARM2\"\r\n") + 11;
    const std::string body = bytes.substr(records);
    if (GetParam() == FileFormat::FastBinary) {
        ASSERT_EQ(body.size() % kRecordSize, 0u) << "no torn record";
        std::vector<float> firstReadings;
        for (std::size_t at = 0; at < body.size(); at += kRecordSize) {
            ScanRecord scan{};
            std::memcpy(&scan, body.data() + at, kRecordSize);
            firstReadings.push_back(scan.readings[0]);
        }
        EXPECT_EQ(firstReadings, (std::vector<float>{1, 2, 3, 9}));
    } else {
        EXPECT_EQ(body.substr(body.size() - 2), "\r\n") << "no torn line";
        EXPECT_NE(body.find(", 2.00000, "), std::string::npos);
        EXPECT_EQ(body.find(", 5.00000, "), std::string::npos) << "beyond the full disk";
        EXPECT_NE(body.find(", 9.00000, 0.500000, 0, 0, 0, 0\r\n"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, FullDiskTest, ::testing::Values(FileFormat::FastBinary, FileFormat::Ascii));

} // namespace
} // namespace korvel
