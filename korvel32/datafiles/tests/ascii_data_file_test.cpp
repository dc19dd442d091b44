#include "datafiles/data_file.h"
#include "datafiles/scan_batch.h"
#include "datafiles/scan_time.h"

#include "crlf_lines.h"
#include "file_bytes.h"
#include "scoped_time_zone.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <vector>

namespace korvel {
namespace {

// What Python's csv module reads from the file, one row per output line with
// the cells joined by '|'.
std::string readWithPythonCsv(const std::string &path, char delimiter) {
    const std::string command =
        std::string("python3 -c \"import csv,sys\n"
                    "with open(sys.argv[1], newline='') as f:\n"
                    "    for row in csv.reader(f, delimiter=sys.argv[2], skipinitialspace=True):\n"
                    "        print('|'.join(row))\" '") +
        path + "' '" + delimiter + "'";
    std::string output;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe) return output;
    char chunk[512];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
    EXPECT_EQ(::pclose(pipe), 0);
    return output;
}

class AsciiDataFileTest : public ::testing::TestWithParam<const char *> {
protected:
    AsciiDataFileTest() {
        for (int channel : {1, 3}) {
            setup.channel(channel).function = ChannelFunction::Vdc;
            setup.channel(channel).unitsLabel = "VDC";
        }
        setup.dataFile.path = dir.path() + "/data.csv";
        setup.dataFile.comment = "Line 4";
    }

    // 2024-07-01 12:00:01.250 with the given readings, DIO 0x05.
    void writeScan(DataFile &data, float first, float second) {
        ScanRecord scan{};
        scan.time = {12, 0, 1, 7, 0, 1, 24, 0};
        scan.msAndDio = 250u | (0x05u << 16);
        scan.alarm1 = 3;
        scan.alarm2 = 4294967295u;
        scan.totalizer = 77;
        scan.readings[0] = first;
        scan.readings[1] = second;
        std::memcpy(static_cast<std::uint8_t *>(buffer.block()) + sizeof(ScanBufferHeader), &scan, 36);
        buffer.setHeader({36, 1, 0});
        ASSERT_TRUE(data.writeBatch(1, buffer, daylight));
    }

    // The file's creation time, local to the zone of the test.
    std::string creationText() const {
        const std::time_t created = now;
        std::tm local{};
        ::localtime_r(&created, &local);
        char text[32];
        std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", local.tm_mon + 1, local.tm_mday,
                      local.tm_year % 100, local.tm_hour, local.tm_min, local.tm_sec);
        return text;
    }

    const ScopedTimeZone zone{GetParam()};
    kvtest::TempDir dir;
    InstrumentSetup setup;
    DaylightStates daylight;
    ScanBatch buffer;
    const std::int64_t now = 1719849600;
};

TEST_P(AsciiDataFileTest, CommaDecimalWithSemicolonListReadsBackWithCsvTools) {
    RegionalFormats formats;
    formats.listSeparator = ';';
    formats.decimalSymbol = ',';
    DataFile data({instrumentPart(1, setup), false, {}}, formats);
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    writeScan(data, 12.5f, std::numeric_limits<float>::quiet_NaN());
    writeScan(data, 1000.0f, -std::numeric_limits<float>::infinity());
    data.close();

    const auto lines = crlfLinesOf(fileBytes(setup.dataFile.path));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[3], "7");
    EXPECT_EQ(lines[6], "45474,500014467; 12,5000; +9,00E+9; 5; 77; 3; 4294967295");
    EXPECT_EQ(lines[7], "45474,500014467; 1,00000E+3; -1,00E+9; 5; 77; 3; 4294967295");

    EXPECT_EQ(readWithPythonCsv(setup.dataFile.path, ';'),
              "data.csv\n" + creationText() +
                  "\n"
                  "Line 4\n"
                  "7\n"
                  "TIME|VDC|VDC|DIO|TOTAL|ALARM1|ALARM2\n"
                  "01TIME|0101|0103|01DIO|01TOTAL|01ALARM1|01ALARM2\n"
                  "45474,500014467|12,5000|+9,00E+9|5|77|3|4294967295\n"
                  "45474,500014467|1,00000E+3|-1,00E+9|5|77|3|4294967295\n");
}

TEST_P(AsciiDataFileTest, MasterLineCarriesEverySlaveWithZerosBeforeItsFirstScan) {
    InstrumentSetup slave;
    slave.channel(2).function = ChannelFunction::Vdc;
    DataFile data({instrumentPart(1, setup), true, {instrumentPart(5, slave), instrumentPart(6, slave)}},
                  RegionalFormats{});
    ASSERT_EQ(data.open(now), DataFileOpen::Opened);
    ScanRecord master{};
    master.time = {12, 0, 0, 7, 0, 1, 24, 0};
    master.readings[0] = 2.0f;
    master.readings[1] = 0.01f;
    ScanRecord fromSlave{};
    fromSlave.msAndDio = 0xFF0000u;
    fromSlave.readings[0] = 0.0042f;
    const ScanRecord *slaves[] = {&fromSlave, nullptr};
    ASSERT_TRUE(data.writeMerged(master, slaves, daylight));
    data.close();

    const auto lines = crlfLinesOf(fileBytes(setup.dataFile.path));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[3], "7, 5, 5");
    EXPECT_EQ(lines[6],
              "45474.500000000, 2.00000, 0.0100000, 0, 0, 0, 0, 4.20000E-3, 255, 0, 0, 0, 0.00000, 0, 0, 0, 0");
    EXPECT_NE(readWithPythonCsv(setup.dataFile.path, ',')
                  .find("\n45474.500000000|2.00000|0.0100000|0|0|0|0|4.20000E-3|255|0|0|0|0.00000|0|0|0|0\n"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Zones, AsciiDataFileTest, ::testing::Values("America/New_York", "Europe/Berlin"));

} // namespace
} // namespace korvel
