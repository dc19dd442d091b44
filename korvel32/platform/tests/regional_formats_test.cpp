#include "platform/regional_formats.h"

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace korvel {
namespace {

class RegionalFormatsTest : public ::testing::Test {
protected:
    RegionalFormats formatsOf(const std::string &intlLines) const {
        const std::string path = dir.path() + "/win.ini";
        std::ofstream(path, std::ios::binary) << "[windows]\r\nsList=;\r\n[intl]\r\n" << intlLines;
        return readRegionalFormats(path);
    }

    kvtest::TempDir dir;
};

TEST_F(RegionalFormatsTest, AMissingFileGivesTheDefaults) {
    const RegionalFormats formats = readRegionalFormats(dir.path() + "/none.ini");
    EXPECT_EQ(formats.listSeparator, ',');
    EXPECT_EQ(formats.decimalSymbol, '.');
    EXPECT_EQ(formats.dateSeparator, '/');
    EXPECT_EQ(formats.timeSeparator, ':');
    EXPECT_EQ(formats.dateOrder, 2);
    EXPECT_FALSE(formats.fourDigitYear);
    EXPECT_TRUE(formats.twelveHour);
}

TEST_F(RegionalFormatsTest, SeparatorsTakeOnlyTheirKnownCharacters) {
    RegionalFormats formats = formatsOf("sList=;x\r\nsDecimal=,\r\nsDate=.\r\nsTime=.\r\n");
    EXPECT_EQ(formats.listSeparator, ';');
    EXPECT_EQ(formats.decimalSymbol, ',');
    EXPECT_EQ(formats.dateSeparator, '.');
    EXPECT_EQ(formats.timeSeparator, '.');

    formats = formatsOf("sList=|\r\nsDecimal=;\r\nsDate=-\r\nsTime=,\r\n");
    EXPECT_EQ(formats.listSeparator, ',');
    EXPECT_EQ(formats.decimalSymbol, '.');
    EXPECT_EQ(formats.dateSeparator, '-');
    EXPECT_EQ(formats.timeSeparator, ',');

    formats = formatsOf("sDate=:\r\nsTime=-\r\n");
    EXPECT_EQ(formats.dateSeparator, '/');
    EXPECT_EQ(formats.timeSeparator, ':');
}

TEST_F(RegionalFormatsTest, AListSeparatorEqualToTheDecimalSymbolFallsBackForBoth) {
    const RegionalFormats formats = formatsOf("sList=,\r\nsDecimal=,\r\n");
    EXPECT_EQ(formats.listSeparator, ',');
    EXPECT_EQ(formats.decimalSymbol, '.');
}

TEST_F(RegionalFormatsTest, TheShortDatePatternGivesOrderAndYearForm) {
    struct Case {
        const char *pattern;
        int order;
        bool fourDigitYear;
    };
    const Case cases[] = {
        {"dd/MM/yyyy", 1, true}, {"M/d/yy", 2, false}, {"yyyy-MM-dd", 3, true}, {"YY.MM.DD", 3, false},
        {"x/yyyy", 2, true},     {"d.M.", 1, false},   {"", 2, false},
    };
    for (const Case &c : cases) {
        const RegionalFormats formats = formatsOf(std::string("sShortDate=") + c.pattern + "\r\n");
        EXPECT_EQ(formats.dateOrder, c.order) << c.pattern;
        EXPECT_EQ(formats.fourDigitYear, c.fourDigitYear) << c.pattern;
    }
}

TEST_F(RegionalFormatsTest, AnEmptyMorningSymbolMeansTheTwentyFourHourClock) {
    EXPECT_FALSE(formatsOf("s1159=\r\n").twelveHour);
    EXPECT_TRUE(formatsOf("s1159=AM\r\n").twelveHour);
}

TEST(RegionalSettingsPath, FollowsTheConfigurationHome) {
    const char *savedConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = savedConfig ? savedConfig : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(userRegionalSettingsPath(), "/tmp/cfg/korvel32/win.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(userRegionalSettingsPath(), std::string(std::getenv("HOME")) + "/.config/korvel32/win.ini");
    if (savedConfig) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

} // namespace
} // namespace korvel
