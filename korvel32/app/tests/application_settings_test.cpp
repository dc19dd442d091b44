#include "app/application_settings.h"
#include "platform/ini_profile.h"
#include "scripted_user_interface.h"

#include <temp_dir.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace korvel {
namespace {

class ApplicationSettingsTest : public ::testing::Test {
protected:
    void writeFile(const std::string &content) { std::ofstream(path, std::ios::binary) << content; }
    std::string fileContent() const {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    std::string value(const char *section, const char *key) const {
        return readProfileString(path, section, key, "<missing>", 64);
    }
    ApplicationSettings read(int networkMode = 2) { return readApplicationSettings(path, networkMode, ui); }

    kvtest::TempDir dir;
    std::string path = dir.path() + "/korvel32.ini";
    ScriptedUserInterface ui;
};

TEST_F(ApplicationSettingsTest, AMissingFileIsCreatedWithAllNineKeysAndTheirDefaults) {
    EXPECT_EQ(read(), ApplicationSettings{});
    EXPECT_TRUE(ui.messages().empty());

    EXPECT_EQ(value("Defaults", "MemoryWrapAround"), "True");
    EXPECT_EQ(value("Defaults", "DevelopersToolbox"), "False");
    EXPECT_EQ(value("Defaults", "AlarmCheckingIntvl_M100A"), "1.000");
    EXPECT_EQ(value("Defaults", "AlarmCheckingIntvl_M200A"), "0.100");
    EXPECT_EQ(value("Defaults", "AutoScanDisable"), "True");
    EXPECT_EQ(value("Defaults", "CommTimeout"), "5");
    EXPECT_EQ(value("TL Defaults", "TLDIR"), "c:\\Program Files\\Orrin\\tl");
    EXPECT_EQ(value("TL Defaults", "TLFile"), "tl32.exe");
    EXPECT_EQ(value("TL Defaults", "TLTitle"), "Trend Link for Orrin");
}

TEST_F(ApplicationSettingsTest, TheGeneralNetworkWaitsLongerByDefault) {
    EXPECT_EQ(read(4).commTimeout, 10u);
    EXPECT_EQ(value("Defaults", "CommTimeout"), "10");
}

TEST_F(ApplicationSettingsTest, ACompleteFileIsNotRewritten) {
    const std::string content = "; site settings\r\n[Defaults]\r\nMemoryWrapAround=False\r\nDevelopersToolbox=True\r\n"
                                "AlarmCheckingIntvl_M100A=2.5\r\nAlarmCheckingIntvl_M200A=0.250\r\n"
                                "AutoScanDisable=f\r\nCommTimeout=30\r\n[TL Defaults]\r\nTLDIR=/opt/tl\r\n"
                                "TLFile=tl32\r\nTLTitle=Plant trends\r\n";
    writeFile(content);
    const ApplicationSettings settings = read();
    EXPECT_EQ(settings, (ApplicationSettings{false, true, 2.5, 0.25, false, 30}));
    EXPECT_EQ(fileContent(), content);

    LoggerOptions options;
    settings.applyTo(options);
    EXPECT_FALSE(options.memoryWrapAround);
    EXPECT_DOUBLE_EQ(options.alarmCheckIntervalM100A, 2.5);
    EXPECT_DOUBLE_EQ(options.alarmCheckIntervalM200A, 0.25);
}

TEST_F(ApplicationSettingsTest, AReadOnlyFileGivesOneMessageAndTheDefaults) {
    writeFile("[Defaults]\r\nCommTimeout=0\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const ApplicationSettings settings = read();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "Cannot write to KORVEL.INI file!\nCheck file permissions.");
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(settings, ApplicationSettings{});
}

TEST_F(ApplicationSettingsTest, TheTimeOutIsClampedWhileTheFileKeepsItsValue) {
    const struct {
        const char *stored;
        unsigned used;
        const char *kept;
    } cases[] = {
        {"0", 5, "5"},          {"", 5, "5"},           {"2", 3, "2"},      {"3", 3, "3"},
        {"1000", 1000, "1000"}, {"5000", 1000, "5000"}, {"-5", 1000, "-5"},
    };
    for (const auto &c : cases) {
        writeFile(std::string("[Defaults]\r\nCommTimeout=") + c.stored + "\r\n");
        EXPECT_EQ(read().commTimeout, c.used) << c.stored;
        EXPECT_EQ(value("Defaults", "CommTimeout"), c.kept) << c.stored;
    }
}

TEST_F(ApplicationSettingsTest, AlarmCheckingIntervalsOutsideTheirBoundsKeepTheDefault) {
    const struct {
        const char *m100a;
        const char *m200a;
        double usedM100A;
        double usedM200A;
    } cases[] = {
        {"0.2", "0.05", 1.0, 0.05}, {"24", "24", 24.0, 24.0},     {"0.5", "0.04", 0.5, 0.1},
        {"24.1", "abc", 1.0, 0.1},  {"3.25s", "+0.5", 3.25, 0.5},
    };
    for (const auto &c : cases) {
        writeFile(std::string("[Defaults]\r\nAlarmCheckingIntvl_M100A=") + c.m100a +
                  "\r\nAlarmCheckingIntvl_M200A=" + c.m200a + "\r\n");
        const ApplicationSettings settings = read();
        EXPECT_DOUBLE_EQ(settings.alarmCheckingIntervalM100A, c.usedM100A) << c.m100a;
        EXPECT_DOUBLE_EQ(settings.alarmCheckingIntervalM200A, c.usedM200A) << c.m200a;
        EXPECT_EQ(value("Defaults", "AlarmCheckingIntvl_M100A"), c.m100a) << "never rewritten";
    }
}

TEST_F(ApplicationSettingsTest, OnlyTheFirstLetterOfAFlagCounts) {
    writeFile("[Defaults]\r\nMemoryWrapAround=yes\r\nDevelopersToolbox=totally\r\nAutoScanDisable=false\r\n");
    ApplicationSettings settings = read();
    EXPECT_TRUE(settings.memoryWrapAround) << "yes keeps the default";
    EXPECT_TRUE(settings.developersToolbox);
    EXPECT_FALSE(settings.autoScanDisable);
    EXPECT_EQ(value("Defaults", "MemoryWrapAround"), "yes");

    writeFile("[Defaults]\r\nMemoryWrapAround=false\r\nDevelopersToolbox=\r\n");
    settings = read();
    EXPECT_FALSE(settings.memoryWrapAround);
    EXPECT_FALSE(settings.developersToolbox);
    EXPECT_EQ(value("Defaults", "DevelopersToolbox"), "False") << "an empty value is written like a missing one";
}

} // namespace
} // namespace korvel
