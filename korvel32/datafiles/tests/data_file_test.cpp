#include "datafiles/data_file.h"
#include "datafiles/scan_batch.h"
#include "datafiles/scan_time.h"

#include "file_bytes.h"
#include "scoped_time_zone.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>

namespace korvel {
namespace {

namespace fs = std::filesystem;

// 12:00:00.250 on 2024-07-01, with DIO 0x05 and readings 1.5, 2.5, ...
ScanRecord scanAt(int second, int channels) {
    ScanRecord scan{};
    scan.time = {12, 0, static_cast<std::uint8_t>(second), 7, 0, 1, 24, 0};
    scan.msAndDio = 250u | (0x05u << 16);
    scan.alarm1 = 3;
    scan.totalizer = 77;
    for (int i = 0; i < channels; ++i) scan.readings[i] = 1.5f + static_cast<float>(i);
    return scan;
}

void fillBuffer(ScanBatch &buffer, std::initializer_list<ScanRecord> scans, std::size_t recordSize) {
    auto *bytes = static_cast<std::uint8_t *>(buffer.block());
    std::size_t offset = sizeof(ScanBufferHeader);
    for (const ScanRecord &scan : scans) {
        std::memcpy(bytes + offset, &scan, recordSize);
        offset += recordSize;
    }
    buffer.setHeader({static_cast<std::int32_t>(recordSize), static_cast<std::int32_t>(scans.size()), 0});
}

class DataFileTest : public ::testing::Test {
protected:
    DataFileTest() {
        for (int channel : {1, 3}) {
            setup.channel(channel).function = ChannelFunction::Vdc;
            setup.channel(channel).unitsLabel = "VDC";
        }
        setup.dataFile.path = dir.path() + "/data.bin";
        setup.dataFile.format = FileFormat::FastBinary;
    }

    DataFile file(const InstrumentSetup &owner) { return DataFile({instrumentPart(1, owner), false, {}}, formats); }

    const ScopedTimeZone zone{"America/New_York"};
    kvtest::TempDir dir;
    InstrumentSetup setup;
    RegionalFormats formats;
    DaylightStates daylight;
    ScanBatch buffer;
    const std::int64_t now = 1719849600; // 2024-07-01 12:00 EDT
};

TEST_F(DataFileTest, BinaryFileHoldsChecksumHeaderAndRawRecords) {
    DataFile data = file(setup);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    fillBuffer(buffer, {scanAt(1, 2), scanAt(2, 2)}, 36);
    EXPECT_TRUE(data.writeBatch(1, buffer, daylight));
    EXPECT_TRUE(data.close());

    const std::string bytes = fileBytes(setup.dataFile.path);
    ASSERT_EQ(bytes.rfind("\"204\"\r\n\"data.bin\"\r\n\"07/01/24 12:00:00\"\r\n\"\"\r\n7\r\n", 0), 0u);
    const std::size_t records = bytes.find("01ALARM2\"\r\n") + 11;
    ASSERT_EQ(bytes.size() - records, 72u);
    const ScanRecord second = scanAt(2, 2);
    EXPECT_EQ(std::memcmp(bytes.data() + records + 36, &second, 36), 0);
}

TEST_F(DataFileTest, MasterRecordCarriesZerosForASlaveWithoutScans) {
    InstrumentSetup slave;
    slave.channel(2).function = ChannelFunction::Vdc;
    DataFile data({instrumentPart(1, setup), true, {instrumentPart(5, slave), instrumentPart(6, slave)}}, formats);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    const ScanRecord master = scanAt(1, 2);
    const ScanRecord fromSlave = scanAt(1, 1);
    const ScanRecord *slaves[] = {&fromSlave, nullptr};
    EXPECT_TRUE(data.writeMerged(master, slaves, daylight));
    data.close();

    const std::string bytes = fileBytes(setup.dataFile.path);
    ASSERT_EQ(bytes.rfind("\"1309\"\r\n", 0), 0u) << "101 + 103 + 502 + 602 + master BCN 1";
    const std::string record = bytes.substr(bytes.size() - (36 + 20 + 20));
    EXPECT_EQ(std::memcmp(record.data(), &master, 36), 0);
    EXPECT_EQ(std::memcmp(record.data() + 36, reinterpret_cast<const char *>(&fromSlave) + 12, 20), 0);
    EXPECT_EQ(record.substr(56), std::string(20, '\0'));
}

TEST_F(DataFileTest, AppendRefusedForOtherChannelsAndAcceptedWhenRestored) {
    {
        DataFile data = file(setup);
        ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    }
    InstrumentSetup changed = setup;
    changed.channel(4).function = ChannelFunction::Vdc;
    DataFile refused = file(changed);
    EXPECT_EQ(refused.open(now), DataFileOpen::NotCompatible);
    EXPECT_FALSE(refused.isOpen());
    EXPECT_EQ(dataFileOpenMessage(DataFileOpen::NotCompatible), 17);

    DataFile restored = file(setup);
    ASSERT_EQ(restored.open(now), DataFileOpen::Opened);
    fillBuffer(buffer, {scanAt(1, 2)}, 36);
    EXPECT_TRUE(restored.writeBatch(1, buffer, daylight));
    restored.close();
    EXPECT_EQ(fileBytes(setup.dataFile.path).find("\"204\"", 1), std::string::npos) << "no second header";
}

TEST_F(DataFileTest, OverwriteStartsAFreshFile) {
    std::ofstream(setup.dataFile.path) << "\"999\"\r\nold contents";
    setup.dataFile.mode = FileMode::Overwrite;
    DataFile data = file(setup);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    data.close();
    EXPECT_EQ(fileBytes(setup.dataFile.path).rfind("\"204\"\r\n", 0), 0u);
}

TEST_F(DataFileTest, OtherWritersAreDeniedWhileOpen) {
    DataFile data = file(setup);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    DataFile second = file(setup);
    EXPECT_EQ(second.open(now), DataFileOpen::CannotOpen);
    setup.dataFile.mode = FileMode::Overwrite;
    DataFile overwriting = file(setup);
    EXPECT_EQ(overwriting.open(now), DataFileOpen::CannotCreate);
    data.close();
    EXPECT_EQ(second.open(now), DataFileOpen::Opened);
}

TEST_F(DataFileTest, CannotCreateInAMissingDirectory) {
    setup.dataFile.path = dir.path() + "/missing/data.bin";
    EXPECT_EQ(file(setup).open(now), DataFileOpen::CannotCreate);
}

TEST_F(DataFileTest, RolloverRenamesToTheNextFreeNumberAndStartsAFreshFile) {
    std::ofstream(dir.path() + "/data.001") << "kept";
    std::ofstream(dir.path() + "/data.003") << "kept";
    setup.dataFile.rolloverMode = RolloverMode::TimeInterval;
    setup.dataFile.rolloverValue = 60;
    DataFile data = file(setup);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    fillBuffer(buffer, {scanAt(1, 2)}, 36);
    ASSERT_TRUE(data.writeBatch(1, buffer, daylight));

    data.checkRollover(now + 60);
    EXPECT_TRUE(fs::exists(dir.path() + "/data.002"));
    EXPECT_EQ(fs::file_size(dir.path() + "/data.002"), fs::file_size(setup.dataFile.path) + 36)
        << "the scan went with the copy, the new file has only its header";
    ASSERT_TRUE(data.isOpen());

    data.checkRollover(now + 120);
    EXPECT_TRUE(fs::exists(dir.path() + "/data.004"));
    EXPECT_EQ(fileBytes(dir.path() + "/data.001"), "kept");
    EXPECT_EQ(fileBytes(dir.path() + "/data.003"), "kept");
}

TEST_F(DataFileTest, RolloverWithoutAFreeNumberKeepsWriting) {
    for (int n = 1; n <= kMostRolloverNumbers; ++n) std::ofstream(numberedPath(setup.dataFile.path, n)) << "kept";
    setup.dataFile.rolloverMode = RolloverMode::TimeInterval;
    setup.dataFile.rolloverValue = 60;
    DataFile data = file(setup);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    data.checkRollover(now + 60);
    ASSERT_TRUE(data.isOpen());
    fillBuffer(buffer, {scanAt(1, 2)}, 36);
    EXPECT_TRUE(data.writeBatch(1, buffer, daylight));
}

TEST_F(DataFileTest, RolloverThatCannotRenameLeavesTheFileClosedAndWritesFail) {
    setup.dataFile.rolloverMode = RolloverMode::TimeInterval;
    setup.dataFile.rolloverValue = 60;
    DataFile data = file(setup);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    fs::remove(setup.dataFile.path); // taken away behind the logger's back
    data.checkRollover(now + 60);
    EXPECT_FALSE(data.isOpen());
    fillBuffer(buffer, {scanAt(1, 2)}, 36);
    EXPECT_FALSE(data.writeBatch(1, buffer, daylight));
}

TEST_F(DataFileTest, FlushesAtMostOnceASecond) {
    DataFile data = file(setup);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    EXPECT_TRUE(data.flushIfDue(now));
    EXPECT_FALSE(data.flushIfDue(now)) << "once in the same second";
    EXPECT_TRUE(data.flushIfDue(now + 1));
}

TEST_F(DataFileTest, WritingWithoutAnOpenFileFails) {
    DataFile data = file(setup);
    fillBuffer(buffer, {scanAt(1, 2)}, 36);
    EXPECT_FALSE(data.writeBatch(1, buffer, daylight));
}

} // namespace
} // namespace korvel
