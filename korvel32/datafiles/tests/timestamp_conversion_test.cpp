// ASCII data files with their TIME values written as date-time texts: the
// serial dates read back to the wall-clock time and millisecond they were
// written for, the rest of each line untouched.
#include "datafiles/ascii_timestamps.h"
#include "datafiles/data_file.h"
#include "datafiles/date_time_text.h"
#include "datafiles/scan_time.h"
#include "datafiles/serial_date.h"

#include "conversion_run.h"
#include "crlf_lines.h"
#include "file_bytes.h"
#include "scoped_time_zone.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace korvel {
namespace {

std::optional<std::string> timeOf(const std::string &serialDate, char decimalSymbol = '.') {
    RegionalFormats formats;
    formats.decimalSymbol = decimalSymbol;
    return serialDateTimeText(serialDate, formats);
}

TEST(SerialDateTimeText, CountsDaysFrom1899WithMillisecondsRoundedOnce) {
    const ScopedTimeZone zone("America/New_York");
    EXPECT_EQ(timeOf("35503.5"), "\"03/14/97 12:00:00.000\"");
    EXPECT_EQ(timeOf("35503.500000000"), "\"03/14/97 12:00:00.000\"");
    EXPECT_EQ(timeOf("35503,5", ','), "\"03/14/97 12:00:00,000\"");
    // Nine decimals of a day fall just short of 500 ms; 0.49 ms more reaches it.
    EXPECT_EQ(timeOf("35503.000005787"), "\"03/14/97 00:00:00.500\"");
    EXPECT_EQ(timeOf("35503.000011574"), "\"03/14/97 00:00:01.000\"");
    EXPECT_EQ(timeOf("35503"), "\"03/14/97 00:00:00.000\"");
    EXPECT_EQ(timeOf("35503.999999988"), "\"03/14/97 23:59:59.999\"");
    EXPECT_EQ(timeOf("35503.999999999"), "\"03/15/97 00:00:00.000\"") << "the rounding carries into the next day";
}

TEST(SerialDateTimeText, DaylightTimeCountsByTheWallClockOnBothSidesOfAChange) {
    const ScopedTimeZone zone("America/New_York");
    EXPECT_EQ(timeOf("45474.5"), "\"07/01/24 12:00:00.000\"");
    EXPECT_EQ(timeOf("45361.083333321"), "\"03/10/24 01:59:59.999\"") << "the last second of standard time";
    EXPECT_EQ(timeOf("45361.125"), "\"03/10/24 03:00:00.000\"") << "the first of daylight time";
    EXPECT_EQ(timeOf("45599.0"), "\"11/03/24 00:00:00.000\"") << "daylight time, the night the clocks go back";
    EXPECT_EQ(timeOf("45599.125"), "\"11/03/24 03:00:00.000\"") << "standard time again";

    const ScopedTimeZone berlin("Europe/Berlin");
    EXPECT_EQ(timeOf("45382.083333321"), "\"03/31/24 01:59:59.999\"");
    EXPECT_EQ(timeOf("45382.125"), "\"03/31/24 03:00:00.000\"");
    EXPECT_EQ(timeOf("45474.5"), "\"07/01/24 12:00:00.000\"");
}

TEST(SerialDateTimeText, GivesBackTheTimeAndMillisecondTheLoggerWrote) {
    std::mt19937 random(17);
    std::uniform_int_distribution<int> day(1, 365);
    std::uniform_int_distribution<int> second(0, 86399);
    std::uniform_int_distribution<unsigned> millisecond(0, 999);
    RegionalFormats formats;
    for (const char *zoneName : {"America/New_York", "Europe/Berlin", "Australia/Sydney", "UTC"}) {
        SCOPED_TRACE(zoneName);
        const ScopedTimeZone zone(zoneName);
        for (int i = 0; i < 2000; ++i) {
            const int s = second(random);
            const std::tm local = localAt(2024, 1, day(random), s / 3600, s / 60 % 60, s % 60);
            const unsigned ms = millisecond(random);
            EXPECT_EQ(serialDateTimeText(serialDateText(local, ms, '.'), formats), dateTimeText(local, formats, ms))
                << serialDateText(local, ms, '.');
        }
    }
}

TEST(SerialDateTimeText, RefusesWhatIsNoSerialDate) {
    for (const char *text : {"", "x", "-1", "1e5", "12a", "12.5.1", "12:00", "3000000"})
        EXPECT_FALSE(timeOf(text)) << text;
}

const std::string kHeader = "\"data.csv\"\r\n\"07/01/24 12:00:00\"\r\n\"north wall\"\r\n7\r\n"
                            "\"TIME\", \"VDC\", \"VDC\", \"DIO\", \"TOTAL\", \"ALARM1\", \"ALARM2\"\r\n"
                            "\"01TIME\", \"0101\", \"0103\", \"01DIO\", \"01TOTAL\", \"01ALARM1\", \"01ALARM2\"\r\n";

class TimestampConversion : public ::testing::Test {
protected:
    ConversionRun convert(const std::string &bytes) {
        std::ofstream(source, std::ios::binary) << bytes;
        return convertForTest(ConversionKind::AsciiTimestamps, source, target);
    }

    const ScopedTimeZone zone{"America/New_York"};
    kvtest::TempDir dir;
    const std::string source = dir.path() + "/data.csv";
    const std::string target = dir.path() + "/times.txt";
};

TEST_F(TimestampConversion, ReplacesEachTimeAndKeepsTheRestOfTheLine) {
    const ConversionRun run = convert(kHeader + "45474.500014467, 12.5000, +9.00E+9, 5, 77, 3, 4294967295\r\n"
                                                "35503.5\r\n"
                                                "35503.000005787, 1.00000E+3, -1.00E+9, 0, 0, 0, 0");
    EXPECT_EQ(run.outcome, ConversionOutcome::Complete);
    EXPECT_EQ(run.messages, std::vector<std::string>{"Conversion is complete!"});
    EXPECT_EQ(fileBytes(target), "\"times.txt\"\r\n" + kHeader.substr(kHeader.find('\n') + 1) +
                                     "\"07/01/24 12:00:01.250\", 12.5000, +9.00E+9, 5, 77, 3, 4294967295\r\n"
                                     "\"03/14/97 12:00:00.000\"\r\n"
                                     "\"03/14/97 00:00:00.500\", 1.00000E+3, -1.00E+9, 0, 0, 0, 0");
}

TEST_F(TimestampConversion, RefusesWhatIsNoAsciiDataFile) {
    const struct {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"a file of 0 bytes", ""},
        {"a first byte that is no double quote", "data.csv\r\n" + kHeader.substr(kHeader.find('\n') + 1)},
        {"a first line without its end", "\"data.csv"},
        {"a scan line that begins with no digit", kHeader + "35503.5, 1\r\nTIME, 1\r\n"},
        {"an empty scan line", kHeader + "\r\n"},
        {"a time that is no number", kHeader + "12:00:00, 1\r\n"},
        {"a Fast data file", "\"1206\"\r\n" + kHeader + "\x01\x02\x03\x04"},
    };
    for (const auto &refused : cases) {
        SCOPED_TRACE(refused.what);
        const ConversionRun run = convert(refused.bytes);
        EXPECT_EQ(run.outcome, ConversionOutcome::Refused);
        EXPECT_EQ(run.messages, std::vector<std::string>{source + " is not a valid ASCII file!"});
    }
}

// Scans logged a quarter second apart by the .csv writer, in many chunks.
TEST_F(TimestampConversion, ALoggedFileReadsBackAsTheScansTimes) {
    InstrumentSetup setup;
    for (int channel = 1; channel <= 20; ++channel) setup.channel(channel).function = ChannelFunction::Vdc;
    setup.dataFile.path = source;
    setup.dataFile.mode = FileMode::Overwrite;
    RegionalFormats formats;
    formats.listSeparator = ';';
    formats.decimalSymbol = ',';
    formats.dateOrder = 1;
    formats.dateSeparator = '.';
    formats.fourDigitYear = true;
    constexpr int kScans = 4000;
    {
        DataFile data({instrumentPart(1, setup), false, {}}, formats);
        ASSERT_EQ(data.open(1719849600), DataFileOpen::Opened);
        DaylightStates daylight;
        for (int i = 0; i < kScans; ++i) {
            ScanRecord scan{};
            const int second = i / 4;
            scan.time = {static_cast<std::uint8_t>(second / 3600),
                         static_cast<std::uint8_t>(second / 60 % 60),
                         static_cast<std::uint8_t>(second % 60),
                         7,
                         0,
                         1,
                         24,
                         0};
            scan.msAndDio = static_cast<std::uint32_t>(i % 4 * 250);
            for (int c = 0; c < 20; ++c) scan.readings[c] = static_cast<float>(i) + static_cast<float>(c) / 8.0f;
            ASSERT_TRUE(data.writeMerged(scan, {}, daylight));
        }
        ASSERT_TRUE(data.close());
    }
    ScriptedUserInterface ui;
    RecordingProgress progress;
    ASSERT_EQ(convertFile(ConversionKind::AsciiTimestamps, {source, target}, {formats, ui}, progress),
              ConversionOutcome::Complete);
    EXPECT_GT(progress.percents.size(), 3u) << "a file of several chunks";

    const auto logged = crlfLinesOf(fileBytes(source));
    const auto converted = crlfLinesOf(fileBytes(target));
    ASSERT_EQ(converted.size(), logged.size());
    for (int i = 0; i < kScans; ++i) {
        const std::string &in = logged[6 + static_cast<std::size_t>(i)];
        const std::string &out = converted[6 + static_cast<std::size_t>(i)];
        const int second = i / 4;
        char expected[64];
        std::snprintf(expected, sizeof expected, "\"01.07.2024 %02d:%02d:%02d,%03d\"", second / 3600, second / 60 % 60,
                      second % 60, i % 4 * 250);
        ASSERT_EQ(out.substr(0, out.find(';')), expected) << in;
        ASSERT_EQ(out.substr(out.find(';')), in.substr(in.find(';')));
    }
}

} // namespace
} // namespace korvel
