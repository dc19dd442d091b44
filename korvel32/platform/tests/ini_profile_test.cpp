#include "platform/ini_profile.h"

#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "temp_dir.h"

namespace korvel {
namespace {

class IniProfileTest : public ::testing::Test {
private:
    kvtest::TempDir dir;

protected:
    std::string path = dir.path() + "/korvel32.ini";

    void writeFile(const std::string &content) const { std::ofstream(path, std::ios::binary) << content; }
    std::string fileContent() const {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string read(const char *section, const char *key) const {
        return readProfileString(path, section, key, "dflt", 260);
    }
};

TEST_F(IniProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(read("Defaults", "CommTimeout"), "dflt");
    writeFile("[Other]\r\nCommTimeout=9\r\n[Defaults]\r\nMemoryWrapAround=True\r\n");
    EXPECT_EQ(read("Defaults", "CommTimeout"), "dflt");
    EXPECT_EQ(read("Missing", "MemoryWrapAround"), "dflt");
    EXPECT_EQ(readProfileInt(path, "Defaults", "CommTimeout", 5), 5);
}

TEST_F(IniProfileTest, NamesMatchWithoutCaseAndTheFirstMatchWins) {
    writeFile("; settings\r\n[defaults]\r\n  commtimeout = 7 \r\nCommTimeout=8\r\n"
              "[DEFAULTS]\r\nMemoryWrapAround=False\r\n");
    EXPECT_EQ(read("Defaults", "CommTimeout"), "7");
    // Only the first section of a name is searched.
    EXPECT_EQ(read("Defaults", "MemoryWrapAround"), "dflt");
}

TEST_F(IniProfileTest, ValuesAreCutToTheBufferAndLoseTheirQuotes) {
    writeFile("[TL Defaults]\nTLDIR=\"c:\\Program Files\\Orrin\\tl\"\nTLFile='tl32.exe'\nTLTitle=\"open\n");
    EXPECT_EQ(read("TL Defaults", "TLDIR"), "c:\\Program Files\\Orrin\\tl");
    EXPECT_EQ(read("TL Defaults", "TLFile"), "tl32.exe");
    EXPECT_EQ(read("TL Defaults", "TLTitle"), "\"open");
    EXPECT_EQ(readProfileString(path, "TL Defaults", "TLDIR", "", 10), "c:\\Progra");
    EXPECT_EQ(readProfileString(path, "TL Defaults", "Missing", "Trend Link for Orrin", 6), "Trend");
    EXPECT_EQ(readProfileString(path, "TL Defaults", "TLFile", "", 0), "");
}

TEST_F(IniProfileTest, IntegersAreReadFromTheLeadingDigits) {
    writeFile("[Defaults]\r\nA=12s\r\nB=-3\r\nC=abc\r\nD=\r\nE=+4\r\nF=99999999999999\r\n");
    EXPECT_EQ(readProfileInt(path, "Defaults", "A", 5), 12);
    EXPECT_EQ(readProfileInt(path, "Defaults", "B", 5), -3);
    EXPECT_EQ(readProfileInt(path, "Defaults", "C", 5), 0);
    EXPECT_EQ(readProfileInt(path, "Defaults", "D", 5), 0);
    EXPECT_EQ(readProfileInt(path, "Defaults", "E", 5), 4);
    EXPECT_EQ(readProfileInt(path, "Defaults", "F", 5), INT_MAX);
}

TEST_F(IniProfileTest, WritingCreatesTheFileTheSectionAndTheKey) {
    ASSERT_TRUE(writeProfileString(path, "Defaults", "MemoryWrapAround", "True"));
    ASSERT_TRUE(writeProfileString(path, "Defaults", "CommTimeout", "5"));
    ASSERT_TRUE(writeProfileString(path, "TL Defaults", "TLFile", "tl32.exe"));
    EXPECT_EQ(fileContent(), "[Defaults]\r\nMemoryWrapAround=True\r\nCommTimeout=5\r\n"
                             "[TL Defaults]\r\nTLFile=tl32.exe\r\n");
}

TEST_F(IniProfileTest, WritingKeepsEveryOtherLine) {
    writeFile("; kept comment\n[Defaults]\nCOMMTIMEOUT=2\nunknown line\n\n[Other]\nx=1");
    ASSERT_TRUE(writeProfileString(path, "defaults", "CommTimeout", "5"));
    ASSERT_TRUE(writeProfileString(path, "Defaults", "AutoScanDisable", "True"));
    EXPECT_EQ(fileContent(), "; kept comment\r\n[Defaults]\r\nCommTimeout=5\r\nunknown line\r\n"
                             "AutoScanDisable=True\r\n\r\n[Other]\r\nx=1\r\n");
}

TEST_F(IniProfileTest, WritingFailsOnAReadOnlyFileOrAMissingDirectory) {
    writeFile("[Defaults]\r\nCommTimeout=2\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(writeProfileString(path, "Defaults", "CommTimeout", "5"));
    EXPECT_EQ(read("Defaults", "CommTimeout"), "2");
    EXPECT_FALSE(writeProfileString(path + ".d/none.ini", "Defaults", "CommTimeout", "5"));
}

TEST_F(IniProfileTest, DamagedFilesNeverCrashOrHang) {
    // Truncated: a section without its bracket, a key without '=', no last line end.
    writeFile("[Defaults\r\nCommTimeout\r\nMemoryWrapAround=Fa");
    EXPECT_EQ(read("Defaults", "CommTimeout"), "dflt");
    EXPECT_EQ(read("Defaults", "MemoryWrapAround"), "Fa");
    ASSERT_TRUE(writeProfileString(path, "Defaults", "CommTimeout", "5"));
    EXPECT_EQ(read("Defaults", "CommTimeout"), "5");

    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::string garbage(4096, '\0');
        for (char &c : garbage) c = static_cast<char>(random() % 8 == 0 ? "[]=\r\n;"[random() % 6] : random() % 256);
        writeFile(garbage);
        (void)read("Defaults", "CommTimeout");
        (void)readProfileInt(path, "Defaults", "CommTimeout", 5);
        EXPECT_TRUE(writeProfileString(path, "Defaults", "CommTimeout", "5"));
        EXPECT_EQ(read("Defaults", "CommTimeout"), "5");
    }
}

TEST_F(IniProfileTest, OversizedFilesAreReadOnlyUpToTheLimitAndNeverRewritten) {
    std::string content = "[Defaults]\r\nCommTimeout=7\r\n";
    content.append(kProfileSizeLimit, ';');
    content += "\r\nMemoryWrapAround=False\r\n";
    writeFile(content);
    EXPECT_EQ(read("Defaults", "CommTimeout"), "7");
    EXPECT_EQ(read("Defaults", "MemoryWrapAround"), "dflt");
    EXPECT_FALSE(writeProfileString(path, "Defaults", "CommTimeout", "5"));
    EXPECT_EQ(fileContent().size(), content.size());
}

TEST_F(IniProfileTest, KeysAreListedOnceInFileOrderAndCanBeDeleted) {
    EXPECT_TRUE(readProfileKeys(path, "Data Sets").empty());
    writeFile("[Data Sets]\r\n; comment\r\nRun B=/data/_Run B\r\nrun a=/x\r\nRUN B=/dup\r\n\r\n"
              "[Other]\r\nz=1\r\n[data sets]\r\nlate=1\r\n");
    EXPECT_EQ(readProfileKeys(path, "data sets"), (std::vector<std::string>{"Run B", "run a"}));

    ASSERT_TRUE(deleteProfileKey(path, "Data Sets", "run b"));
    EXPECT_EQ(fileContent(), "[Data Sets]\r\n; comment\r\nrun a=/x\r\nRUN B=/dup\r\n\r\n"
                             "[Other]\r\nz=1\r\n[data sets]\r\nlate=1\r\n");
    // A key that is not there is gone already; the file is left alone.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(deleteProfileKey(path, "Data Sets", "missing"));
    EXPECT_FALSE(deleteProfileKey(path, "Data Sets", "run a"));
    EXPECT_EQ(read("Data Sets", "run a"), "/x");
}

} // namespace
} // namespace korvel
