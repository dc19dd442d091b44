// korvel-convert used as a script and a person use it: conversions, refusals
// with the logger's messages and exit statuses, the progress bar only on a
// terminal, and the round trip of one run: scans the logger wrote to .bin
// and to .csv convert to the same lines, and a Master's .bin file with its
// slave's scans comes back out of the Trend Link data sets it converts to.
#include <crlf_lines.h>
#include <data_file_scans.h>
#include <file_bytes.h>
#include <general_network_instruments.h>
#include <program_run.h>
#include <sim_process.h>
#include <temp_dir.h>
#include <trend_link_store.h>

#include <tbase32.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kCcfModelM200A = 0;

const std::string kAsciiFile = "\"run.csv\"\r\n\"07/01/24 12:00:00\"\r\n\"\"\r\n6\r\n"
                               "\"TIME\", \"VDC\", \"DIO\", \"TOTAL\", \"ALARM1\", \"ALARM2\"\r\n"
                               "\"01TIME\", \"0101\", \"01DIO\", \"01TOTAL\", \"01ALARM1\", \"01ALARM2\"\r\n"
                               "35503.5, 1.00000, 0, 0, 0, 0\r\n";

class KorvelConvert : public ::testing::Test {
protected:
    // Runs the tool with the test's regional settings (none: the defaults).
    kvtest::ProgramRun convert(const std::string &arguments) const {
        return kvtest::runProgram("XDG_CONFIG_HOME='" + dir.path() + "' " KORVEL_CONVERT_PATH " " + arguments);
    }

    std::string path(const std::string &name) const { return dir.path() + "/" + name; }

    void write(const std::string &name, const std::string &bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    kvtest::TempDir dir;
};

TEST_F(KorvelConvert, ConvertsTimesAndSaysSoWithoutABarOffATerminal) {
    write("run.csv", kAsciiFile);
    const kvtest::ProgramRun run = convert("csv-times " + path("run.csv") + " " + path("run.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "korvel-convert: Conversion is complete!\n");
    EXPECT_EQ(crlfLinesOf(fileBytes(path("run.txt"))).back(), "\"03/14/97 12:00:00.000\", 1.00000, 0, 0, 0, 0");
}

TEST_F(KorvelConvert, ReplacesAnExistingTargetOnlyWhenForced) {
    write("run.csv", kAsciiFile);
    write("run.txt", "keep me");
    const std::string files = path("run.csv") + " " + path("run.txt");
    const kvtest::ProgramRun refused = convert("csv-times " + files);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "korvel-convert: " + path("run.txt") + " exists; --force replaces it\n");
    EXPECT_EQ(fileBytes(path("run.txt")), "keep me");
    EXPECT_EQ(convert("csv-times --force " + files).status, 0);
    EXPECT_NE(fileBytes(path("run.txt")), "keep me");
}

TEST_F(KorvelConvert, RefusesWithTheLoggersMessages) {
    write("run.csv", kAsciiFile);
    write("cut.bin", "\"201\"\r\n\"cut.bin\"\r\n");
    write("fast.bin", "\"101\"\r\n" + kAsciiFile.substr(0, kAsciiFile.find("35503")) + std::string(32, '\x01'));
    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"bin-to-csv " + path("none.bin") + " " + path("a.csv"), "Cannot open file " + path("none.bin") + "!"},
        {"bin-to-csv " + path("cut.bin") + " " + path("a.csv"), path("cut.bin") + " is not a valid Binary file!"},
        {"csv-times " + path("fast.bin") + " " + path("a.txt"), path("fast.bin") + " is not a valid ASCII file!"},
        {"csv-times " + path("run.csv") + " " + path("no/a.txt"), "Cannot create file " + path("no/a.txt") + "!"},
    };
    for (const auto &refused : cases) {
        SCOPED_TRACE(refused.arguments);
        const kvtest::ProgramRun run = convert(refused.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "korvel-convert: " + refused.message + "\n");
        std::filesystem::remove(path("a.csv"));
        std::filesystem::remove(path("a.txt"));
    }
}

TEST_F(KorvelConvert, AFullDiskIsAFailure) {
    std::string lines;
    for (int i = 0; i < 20000; ++i) lines += "35503.5, 1.00000, 0, 0, 0, 0\r\n";
    write("big.csv", kAsciiFile + lines);
    // The file size limit (in blocks of 512 bytes) stands in for the full disk.
    const kvtest::ProgramRun run = kvtest::runProgram(
        "trap '' XFSZ; ulimit -f 200; " KORVEL_CONVERT_PATH " csv-times " + path("big.csv") + " " + path("big.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "korvel-convert: Unable to Write to Data File!\n");
}

TEST_F(KorvelConvert, UsageErrorsExitWithTwo) {
    for (const char *arguments : {"", "bin-to-csv", "bin-to-csv a.bin", "csv-times a b c", "bin-to-trend a.bin",
                                  "copy a b", "bin-to-csv a.bin b.csv --quiet"}) {
        SCOPED_TRACE(arguments);
        const kvtest::ProgramRun run = convert(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("usage: korvel-convert"), std::string::npos);
    }
    const kvtest::ProgramRun help = convert("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("bin-to-csv"), std::string::npos);
    EXPECT_NE(help.out.find("bin-to-trend SOURCE.bin TARGET.set"), std::string::npos);
}

// script(1) gives the tool a terminal; its transcript shows the bar redrawn.
TEST_F(KorvelConvert, ATerminalSeesTheBarGrowToTheEnd) {
    std::string lines;
    for (int i = 0; i < 20000; ++i) lines += "35503.5, 1.00000, 0, 0, 0, 0\r\n";
    write("big.csv", kAsciiFile + lines);
    const kvtest::ProgramRun run =
        kvtest::runProgram("script -qec \"XDG_CONFIG_HOME='" + dir.path() + "' " KORVEL_CONVERT_PATH " csv-times " +
                           path("big.csv") + " " + path("big.txt") + "\" /dev/null < /dev/null");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("\rConverting File:  0% ["), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\rConverting File:  100% [" + std::string(40, '#') + "]"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("]\r\nkorvel-convert: Conversion is complete!"), std::string::npos) << run.out;

    // A refusal in the middle goes below the bar, not after it.
    write("bad.csv", kAsciiFile + lines + "TIME\r\n");
    const kvtest::ProgramRun refused =
        kvtest::runProgram("script -qec \"" KORVEL_CONVERT_PATH " csv-times " + path("bad.csv") + " " +
                           path("bad.txt") + "\" /dev/null < /dev/null");
    EXPECT_EQ(refused.status, 1);
    const std::string said = "]\r\nkorvel-convert: " + path("bad.csv") + " is not a valid ASCII file!\r\n";
    ASSERT_NE(refused.out.find(said), std::string::npos) << refused.out;
    EXPECT_EQ(refused.out.substr(refused.out.find(said) + said.size()), "") << "no bar drawn again below it";
}

// Two instruments alike in everything but their BCN, seeded alike, started
// together: one logs to .bin, the other to .csv.
TEST_F(KorvelConvert, ScansLoggedToBinAndCsvInOneRunConvertToTheSameLines) {
    const auto sim = kvtest::startGeneralNetworkModels({{12, kCcfModelM200A}, {34, kCcfModelM200A}}, dir.path());
    ASSERT_EQ(sim->control("seed 12 7"), "ok");
    ASSERT_EQ(sim->control("seed 34 7"), "ok");
    std::string setup = "[KorLogger]\r\nStatusOnStart=No\r\n";
    for (const auto &[number, bcn, file, format] :
         {std::tuple{1, 12, "run.bin", "Binary"}, std::tuple{2, 34, "logged.csv", "ASCII"}}) {
        setup += "[Korvel" + std::to_string(number) + "]\r\nBCN=" + std::to_string(bcn) +
                 "\r\nTriggerType=Intvl\r\nIntvls=0.1,0.1\r\nDataFileEnabled=Yes\r\nDataFile=" + path(file) +
                 "\r\nFileFormat=" + format + "\r\nOverWrite=Yes\r\nC1=VDC,4,\r\nC2=VDC,4,\r\nC5=VDC,4,\r\n";
    }
    write("run.txt", setup);
    const kvtest::ProgramRun logged = kvtest::runProgram(
        "KVLINK32_CCF_DIR='" + dir.path() + "' KORVEL32_HOME='" + dir.path() + "' XDG_CONFIG_HOME='" + dir.path() +
        "' XDG_RUNTIME_DIR='" + dir.path() + "' " KORVEL32_PATH " --headless " + path("run.txt") + " --duration 2");
    ASSERT_EQ(logged.status, 0) << logged.out << logged.err;

    const kvtest::ProgramRun converted = convert("bin-to-csv " + path("run.bin") + " " + path("run.csv"));
    ASSERT_EQ(converted.status, 0) << converted.err;
    const auto fromBin = crlfLinesOf(fileBytes(path("run.csv")));
    const auto fromCsv = crlfLinesOf(fileBytes(path("logged.csv")));
    ASSERT_GE(fromBin.size(), 6u);
    EXPECT_EQ(fromBin[0], "\"run.csv\"");
    EXPECT_EQ(fromBin[3], fromCsv[3]) << "the column counts";
    EXPECT_EQ(fromBin[4], fromCsv[4]) << "the column titles";
    const std::size_t scans = std::min(fromBin.size(), fromCsv.size()) - 6;
    EXPECT_GE(scans, 5u) << "a run of two seconds at ten scans a second";
    for (std::size_t i = 6; i < 6 + scans; ++i) EXPECT_EQ(fromBin[i], fromCsv[i]) << "scan line " << i + 1;
}

// The time fields of a record (or of a merged record's owner), read as UTC.
double recordTime(const std::string &record, std::uint32_t milliseconds) {
    std::tm fields{};
    fields.tm_hour = static_cast<unsigned char>(record[4]);
    fields.tm_min = static_cast<unsigned char>(record[5]);
    fields.tm_sec = static_cast<unsigned char>(record[6]);
    fields.tm_mon = static_cast<unsigned char>(record[7]) - 1;
    fields.tm_mday = static_cast<unsigned char>(record[9]);
    fields.tm_year = 100 + static_cast<unsigned char>(record[10]);
    return static_cast<double>(::timegm(&fields)) * 1000.0 + milliseconds;
}

float recordFloat(const std::string &record, std::size_t offset) {
    const std::uint32_t word = korvel::recordWord(record, offset);
    float value = 0;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

// Master 12 (channels 1, 2, 5; channel 2 an open thermocouple) and its Slave
// 34 (channels 1 and 3) log to .bin in UTC; the file converts into one data
// set per instrument that holds every record's values, each at its
// instrument's time, the open thermocouple as its marker.
TEST_F(KorvelConvert, AMastersFileWithItsSlaveComesBackOutOfTheDataSets) {
    const auto sim = kvtest::startGeneralNetworkModels({{12, kCcfModelM200A}, {34, kCcfModelM200A}}, dir.path());
    ASSERT_EQ(sim->control("special 12 2 open"), "ok");
    write("run.txt", "[KorLogger]\r\nStatusOnStart=No\r\n"
                     "[Korvel1]\r\nBCN=12\r\nGroup=Master\r\nWiredGroup=No\r\nTriggerType=Intvl\r\nIntvls=0.1,0.1\r\n"
                     "DataFileEnabled=Yes\r\nDataFile=" +
                         path("run.bin") +
                         "\r\nFileFormat=Binary\r\nOverWrite=Yes\r\nDataFileComment=Line 4\r\n"
                         "C1=VDC,4,\r\nC2=VDC,4,\r\nC5=VDC,4,\r\n"
                         "[Korvel2]\r\nBCN=34\r\nGroup=Slave\r\nC1=VDC,4,\r\nC3=VDC,4,\r\n");
    const std::string environment = "TZ=UTC KVLINK32_CCF_DIR='" + dir.path() + "' KORVEL32_HOME='" + dir.path() +
                                    "' XDG_CONFIG_HOME='" + dir.path() + "' XDG_RUNTIME_DIR='" + dir.path() +
                                    "' TBASE32_INFOLINK_DIR='" + dir.path() + "' ";
    const kvtest::ProgramRun logged =
        kvtest::runProgram(environment + KORVEL32_PATH " --headless " + path("run.txt") + " --duration 2");
    ASSERT_EQ(logged.status, 0) << logged.out << logged.err;

    // The historian as korvel32.ini in the program directory names it, the chart template beside it.
    write("korvel32.ini", "[TL Defaults]\r\nTLDIR=" + kvtest::trendLinkDirectory() + "\r\n");
    std::filesystem::copy_file(kvtest::trendLinkDirectory() + "/tldef.cht", path("tldef.cht"));
    const kvtest::ProgramRun converted = kvtest::runProgram("cd '" + dir.path() + "' && " + environment +
                                                            KORVEL_CONVERT_PATH " bin-to-trend run.bin run.set");
    ASSERT_EQ(converted.status, 0) << converted.err;
    EXPECT_EQ(converted.err, "korvel-convert: Conversion is complete!\n");

    constexpr std::size_t kMasterPart = 28 + 3 * 4;
    const std::vector<std::string> records = korvel::binaryRecords(path("run.bin"), kMasterPart + 16 + 2 * 4);
    ASSERT_GE(records.size(), 5u) << "a run of two seconds at ten scans a second";
    ::setenv("TBASE32_INFOLINK_DIR", dir.path().c_str(), 1);
    ASSERT_EQ(TBaseInitTBase(), 0);
    const auto stored = [](const std::string &dataSet, const std::string &tag) {
        return kvtest::storedValues(dataSet, tag);
    };
    const std::vector<kvtest::StoredValue> master1 = stored("run-12m", "1201");
    const std::vector<kvtest::StoredValue> master2 = stored("run-12m", "1202");
    const std::vector<kvtest::StoredValue> masterTotal = stored("run-12m", "12TOTAL");
    const std::vector<kvtest::StoredValue> slave3 = stored("run-34s", "3403");
    const std::vector<kvtest::StoredValue> slaveTotal = stored("run-34s", "34TOTAL");
    ASSERT_EQ(master1.size(), records.size());
    ASSERT_EQ(slave3.size(), records.size());
    for (std::size_t index = 0; index < records.size(); ++index) {
        SCOPED_TRACE("record " + std::to_string(index + 1));
        const std::string &record = records[index];
        const std::uint32_t milliseconds = korvel::recordWord(record, 12) & 0xFFFF;
        const double time = recordTime(record, milliseconds);
        EXPECT_EQ(master1[index], (kvtest::StoredValue{time, recordFloat(record, 28)}));
        EXPECT_EQ(master2[index], (kvtest::StoredValue{time, double{9.0e9f}}));
        EXPECT_EQ(masterTotal[index].value, korvel::recordWord(record, 24));

        const std::uint32_t slaveMilliseconds = korvel::recordWord(record, kMasterPart) & 0xFFFF;
        EXPECT_EQ(slave3[index].value, recordFloat(record, kMasterPart + 16 + 4));
        EXPECT_EQ(slaveTotal[index].value, korvel::recordWord(record, kMasterPart + 12));
        EXPECT_EQ(std::fmod(slave3[index].time, 1000.0), slaveMilliseconds) << "the slave's own milliseconds";
        EXPECT_LE(std::abs(slave3[index].time - time), 500.0) << "paired with the Master's scan";
    }
    ::unsetenv("TBASE32_INFOLINK_DIR");
    EXPECT_TRUE(std::filesystem::exists(path("_run/run.cht")));

    // The data sets are there now: another conversion into them is refused.
    const kvtest::ProgramRun again = kvtest::runProgram(environment + KORVEL_CONVERT_PATH " bin-to-trend --force " +
                                                        path("run.bin") + " " + path("run.set"));
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, "korvel-convert: Trend Link Data Set .NOW file already exists!\nDelete the Data Set or "
                         "create a new Data Set.\n");
}

TEST_F(KorvelConvert, ATrendLinkTargetIsRefusedWithTheLoggersMessages) {
    write("run.csv", kAsciiFile);
    const std::string environment = "KORVEL32_HOME='" + dir.path() + "' TBASE32_INFOLINK_DIR='" + dir.path() + "' ";
    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"bin-to-trend " + path("run.csv") + " '\\\\plant\\run.set'",
         "Trend Link data file paths must begin with a drive letter.  Universal Naming Convention (UNC) path names "
         "are not supported at this time."},
        {"bin-to-trend " + path("none.bin") + " " + path("a.set"), "Cannot open file " + path("none.bin") + "!"},
        // korvel32.ini names no directory and the program directory has no historian.
        {"bin-to-trend " + path("run.csv") + " " + path("a.set"), "Unable to load Trend Link DLL!"},
    };
    for (const auto &refused : cases) {
        SCOPED_TRACE(refused.arguments);
        const kvtest::ProgramRun run = kvtest::runProgram(environment + KORVEL_CONVERT_PATH " " + refused.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "korvel-convert: " + refused.message);
        EXPECT_FALSE(std::filesystem::exists(path("a.set")));
    }
}

} // namespace
