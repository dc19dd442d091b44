// Fast data files converted to ASCII: what the .csv writer would have written
// for the same scans, byte for byte, and a clear refusal of anything else.
#include "datafiles/binary_file_conversion.h"
#include "datafiles/data_file.h"
#include "datafiles/locked_data_file.h"
#include "datafiles/scan_time.h"

#include "conversion_run.h"
#include "crlf_lines.h"
#include "file_bytes.h"
#include "scoped_time_zone.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <limits>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvel {
namespace {

constexpr std::int64_t kCreated = 1719849600; // 2024-07-01

void defineChannels(InstrumentSetup &setup, std::initializer_list<int> channels) {
    for (int channel : channels) {
        setup.channel(channel).function = ChannelFunction::Vdc;
        setup.channel(channel).unitsLabel = "VDC";
    }
}

// Scan i of an instrument: a second apart from 2024-07-01 11:59:58, readings
// of every kind the files show.
ScanRecord scanNumbered(int i, float offset) {
    static const float kReadings[] = {12.5f,
                                      0.0042f,
                                      -1.5e-8f,
                                      1000.0f,
                                      std::numeric_limits<float>::quiet_NaN(),
                                      -0.0f,
                                      9.999995e-3f,
                                      2.5e9f,
                                      -std::numeric_limits<float>::infinity(),
                                      1e12f};
    ScanRecord scan{};
    const int second = 58 + i;
    scan.time = {static_cast<std::uint8_t>(11 + second / 3600),
                 static_cast<std::uint8_t>(second / 60 % 60),
                 static_cast<std::uint8_t>(second % 60),
                 7,
                 0,
                 1,
                 24,
                 0};
    scan.msAndDio = static_cast<std::uint32_t>(i * 137 % 1000) | (static_cast<std::uint32_t>(i % 256) << 16);
    scan.alarm1 = static_cast<std::uint32_t>(i);
    scan.alarm2 = 0xFFFFFFFFu - static_cast<std::uint32_t>(i);
    scan.totalizer = static_cast<std::uint32_t>(i * 3);
    for (std::size_t c = 0; c < KVX_MAX_CHANNELS; ++c)
        scan.readings[c] = kReadings[(static_cast<std::size_t>(i) + c) % std::size(kReadings)] + offset;
    return scan;
}

// A Master with two slaves, logged by the logger's own writers.
class MasterGroup {
public:
    MasterGroup() {
        defineChannels(master_, {1, 3});
        defineChannels(slave1_, {2});
        defineChannels(slave2_, {1, 2, 30});
    }

    // Writes scans to a data file of the format at path; the second slave
    // has no scan yet in the first record.
    void log(const std::string &path, FileFormat format, int scans, const RegionalFormats &formats) {
        master_.dataFile.path = path;
        master_.dataFile.format = format;
        master_.dataFile.mode = FileMode::Overwrite;
        master_.dataFile.comment = "converted";
        DataFile data({instrumentPart(1, master_), true, {instrumentPart(5, slave1_), instrumentPart(6, slave2_)}},
                      formats);
        ASSERT_EQ(data.open(kCreated), DataFileOpen::Opened);
        DaylightStates daylight;
        for (int i = 0; i < scans; ++i) {
            const ScanRecord owner = scanNumbered(i, 0.0f);
            const ScanRecord first = scanNumbered(i + 1, 0.25f);
            const ScanRecord second = scanNumbered(i + 2, 0.5f);
            const ScanRecord *slaves[] = {&first, i == 0 ? nullptr : &second};
            ASSERT_TRUE(data.writeMerged(owner, slaves, daylight));
        }
        ASSERT_TRUE(data.close());
    }

    static constexpr std::size_t kRecordSize = (28 + 8) + (16 + 4) + (16 + 12);

private:
    InstrumentSetup master_;
    InstrumentSetup slave1_;
    InstrumentSetup slave2_;
};

struct Regional {
    const char *zone;
    char listSeparator;
    char decimalSymbol;
};

class BinaryToAscii : public ::testing::TestWithParam<Regional> {
protected:
    BinaryToAscii() {
        formats.listSeparator = GetParam().listSeparator;
        formats.decimalSymbol = GetParam().decimalSymbol;
        std::filesystem::create_directories(dir.path() + "/logged");
        std::filesystem::create_directories(dir.path() + "/converted");
    }

    const ScopedTimeZone zone{GetParam().zone};
    kvtest::TempDir dir;
    RegionalFormats formats;
    MasterGroup group;
    const std::string bin = dir.path() + "/logged/data.bin";
    const std::string csv = dir.path() + "/logged/data.csv";
    const std::string converted = dir.path() + "/converted/data.csv";
};

TEST_P(BinaryToAscii, AMasterFileWithTwoSlavesBecomesWhatTheCsvWriterWrites) {
    group.log(bin, FileFormat::FastBinary, 40, formats);
    group.log(csv, FileFormat::Ascii, 40, formats);

    const ConversionRun run = convertForTest(ConversionKind::BinaryToAscii, bin, converted, formats);
    EXPECT_EQ(run.outcome, ConversionOutcome::Complete);
    EXPECT_EQ(run.messages, std::vector<std::string>{"Conversion is complete!"});
    const std::string text = fileBytes(converted);
    EXPECT_EQ(text, fileBytes(csv));

    const auto lines = crlfLinesOf(text);
    ASSERT_EQ(lines.size(), 6u + 40u);
    EXPECT_EQ(lines[0], "\"data.csv\"");
    // One time column, then three groups of readings, DIO, totalizer and alarm words.
    const std::string separator{formats.listSeparator, ' '};
    std::size_t columns = 1;
    for (std::size_t at = 0; (at = lines[6].find(separator, at)) != std::string::npos; at += 2) ++columns;
    EXPECT_EQ(columns, 1u + (2 + 4) + (1 + 4) + (3 + 4)) << lines[6];
}

TEST_P(BinaryToAscii, ALastRecordCutShortIsLeftOut) {
    group.log(bin, FileFormat::FastBinary, 3, formats);
    group.log(csv, FileFormat::Ascii, 2, formats);
    std::filesystem::resize_file(bin, std::filesystem::file_size(bin) - 10);

    const ConversionRun run = convertForTest(ConversionKind::BinaryToAscii, bin, converted, formats);
    EXPECT_EQ(run.outcome, ConversionOutcome::Complete);
    EXPECT_EQ(fileBytes(converted), fileBytes(csv));
}

INSTANTIATE_TEST_SUITE_P(Regions, BinaryToAscii,
                         ::testing::Values(Regional{"America/New_York", ',', '.'},
                                           Regional{"Europe/Berlin", ';', ','}));

TEST(BinaryConversion, TheColumnCountsGiveEachInstrumentsChannels) {
    const auto channels = [](std::string_view line) {
        const std::optional<BinaryRecordLayout> layout = layoutOfColumnCounts(line);
        return layout ? layout->channels : std::vector<std::size_t>{99};
    };
    using Channels = std::vector<std::size_t>;
    EXPECT_EQ(channels("7, 5, 7\r\n"), (Channels{2, 1, 3}));
    EXPECT_EQ(channels("35; 4"), (Channels{30, 0}));
    EXPECT_EQ(channels("5"), (Channels{0}));
    EXPECT_EQ(channels("36"), (Channels{99})) << "more channels than an instrument has";
    EXPECT_EQ(channels("4"), (Channels{99})) << "the owner has a TIME column";
    EXPECT_EQ(channels("7, 3"), (Channels{99}));
    EXPECT_EQ(channels("105"), (Channels{99})) << "one or two digits";
    EXPECT_EQ(channels(" 7"), (Channels{99})) << "the line begins with a digit";
    EXPECT_EQ(channels("x"), (Channels{99}));
    EXPECT_EQ((BinaryRecordLayout{{2, 1, 3}}.recordSize()), MasterGroup::kRecordSize);
}

TEST(BinaryConversion, RefusesWhatIsNoFastDataFile) {
    const ScopedTimeZone zone("America/New_York");
    kvtest::TempDir dir;
    const std::string header = "\"1\"\r\n\"data.csv\"\r\n\"07/01/24 12:00:00\"\r\n\"\"\r\n";
    const struct {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"a file of 0 bytes", ""},
        {"line 5 not digits", header + "seven\r\n\"TIME\"\r\n\"01TIME\"\r\n"},
        {"line 5 empty", header + "\r\n\"TIME\"\r\n\"01TIME\"\r\n"},
        {"a header that ends after line 5", header + "5\r\n\"TIME\"\r\n"},
        {"a file without line ends", std::string(1100 * 1024, 'x')},
    };
    const std::string target = dir.path() + "/out.csv";
    for (const auto &refused : cases) {
        SCOPED_TRACE(refused.what);
        const std::string source = dir.path() + "/in.bin";
        std::ofstream(source, std::ios::binary) << refused.bytes;
        const ConversionRun run = convertForTest(ConversionKind::BinaryToAscii, source, target);
        EXPECT_EQ(run.outcome, ConversionOutcome::Refused);
        EXPECT_EQ(run.messages, std::vector<std::string>{source + " is not a valid Binary file!"});
    }
    // A header of an instrument without scans is a valid file.
    const std::string source = dir.path() + "/empty.bin";
    std::ofstream(source, std::ios::binary) << header << "5\r\n\"TIME\"\r\n\"01TIME\"\r\n";
    EXPECT_EQ(convertForTest(ConversionKind::BinaryToAscii, source, target).outcome, ConversionOutcome::Complete);
    EXPECT_EQ(fileBytes(target), "\"out.csv\"\r\n\"07/01/24 12:00:00\"\r\n\"\"\r\n5\r\n\"TIME\"\r\n\"01TIME\"\r\n");
}

TEST(BinaryConversion, SaysWhichFileCannotBeOpenedOrCreated) {
    const ScopedTimeZone zone("America/New_York");
    kvtest::TempDir dir;
    MasterGroup group;
    const std::string source = dir.path() + "/data.bin";
    group.log(source, FileFormat::FastBinary, 2, RegionalFormats{});
    const std::string logged = fileBytes(source);
    const auto messagesOf = [](const std::string &from, const std::string &to) {
        const ConversionRun run = convertForTest(ConversionKind::BinaryToAscii, from, to);
        EXPECT_EQ(run.outcome, ConversionOutcome::Refused);
        return run.messages;
    };
    using Messages = std::vector<std::string>;

    EXPECT_EQ(messagesOf(dir.path() + "/none.bin", dir.path() + "/a.csv"),
              Messages{"Cannot open file " + dir.path() + "/none.bin!"});
    EXPECT_EQ(messagesOf(dir.path(), dir.path() + "/a.csv"), Messages{"Cannot open file " + dir.path() + "!"});
    EXPECT_EQ(messagesOf(source, dir.path() + "/no/a.csv"),
              Messages{"Cannot create file " + dir.path() + "/no/a.csv!"});
    // Converting a file onto itself must not empty it.
    EXPECT_EQ(messagesOf(source, source), Messages{"Cannot create file " + source + "!"});
    EXPECT_EQ(fileBytes(source), logged);
    {
        // A logger still writes it.
        std::optional<LockedDataFile> writer = LockedDataFile::openExisting(source);
        ASSERT_TRUE(writer);
        EXPECT_EQ(messagesOf(source, dir.path() + "/a.csv"), Messages{"Cannot open file " + source + "!"});
    }
    {
        // Another program writes the target.
        const std::string target = dir.path() + "/b.csv";
        std::optional<LockedDataFile> writer = LockedDataFile::create(target);
        ASSERT_TRUE(writer);
        EXPECT_EQ(messagesOf(source, target), Messages{"Cannot create file " + target + "!"});
    }
}

class LongBinaryFile : public ::testing::Test {
protected:
    // About 900 kB: several chunks.
    LongBinaryFile() { group.log(source, FileFormat::FastBinary, 12000, RegionalFormats{}); }

    const ScopedTimeZone zone{"America/New_York"};
    kvtest::TempDir dir;
    MasterGroup group;
    const std::string source = dir.path() + "/long.bin";
    const std::string target = dir.path() + "/long.csv";
};

TEST_F(LongBinaryFile, AbortInTheMiddleLeavesThePartialTargetAndSaysNothing) {
    // Named alike, as the first line names the file.
    std::filesystem::create_directory(dir.path() + "/whole");
    const std::string whole = dir.path() + "/whole/long.csv";
    ASSERT_EQ(convertForTest(ConversionKind::BinaryToAscii, source, whole).outcome, ConversionOutcome::Complete);

    const ConversionRun run = convertForTest(ConversionKind::BinaryToAscii, source, target, {}, 3);
    EXPECT_EQ(run.outcome, ConversionOutcome::Aborted);
    EXPECT_TRUE(run.messages.empty());
    const std::string partial = fileBytes(target);
    const std::string complete = fileBytes(whole);
    EXPECT_GT(partial.size(), 1000u);
    EXPECT_LT(partial.size(), complete.size() / 2);
    EXPECT_EQ(complete.compare(0, partial.size(), partial), 0) << "what was converted before the Abort stays";
}

// The file size limit of a child process stands in for a full disk.
TEST_F(LongBinaryFile, ATargetTheDiskRefusesIsReported) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails with EFBIG
        rlimit fileSize{};
        ::getrlimit(RLIMIT_FSIZE, &fileSize);
        fileSize.rlim_cur = 300 * 1024;
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        const ConversionRun run = convertForTest(ConversionKind::BinaryToAscii, source, target);
        const bool reported = run.outcome == ConversionOutcome::WriteFailed &&
                              run.messages == std::vector<std::string>{"Unable to Write to Data File!"};
        ::_exit(reported ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
} // namespace korvel
