// Loading Trend Link from the directory korvel32.ini names, asking for
// another one while it cannot be loaded, the time conversion with and
// without libtimecn32.so, and how Show Trend Link finds the chart program.
#include "trend_link_fixture.h"

#include "datafiles/trend_link_names.h"

#include <filesystem>
#include <fstream>

namespace korvel {
namespace {

namespace fs = std::filesystem;

class TrendLinkInterfaceTest : public TrendLinkTest {
protected:
    std::string writtenDirectory() const {
        return readProfileString(settingsPath(), trend_link_settings::kSection, trend_link_settings::kDirectoryKey,
                                 "(none)", 260);
    }
    void setDirectory(const std::string &directory) {
        writeProfileString(settingsPath(), trend_link_settings::kSection, trend_link_settings::kDirectoryKey,
                           directory);
    }
    std::vector<std::string> offered; // what the chooser was shown
    void chooseInTurn(std::vector<std::optional<std::string>> answers) {
        trendLink.setDirectoryChooser([this, answers, next = std::size_t{0}](const std::string &current) mutable {
            offered.push_back(current);
            return next < answers.size() ? answers[next++] : std::nullopt;
        });
    }
};

TEST_F(TrendLinkInterfaceTest, AMissingLibraryIsToldAndAskedForUntilFoundAndTheFoundDirectoryIsKept) {
    const std::string empty = dir.path() + "/nothing";
    fs::create_directories(empty);
    setDirectory(empty);
    chooseInTurn({dir.path() + "/elsewhere", kvtest::trendLinkDirectory()});

    ASSERT_TRUE(trendLink.load());
    EXPECT_EQ(offered, (std::vector<std::string>{empty, dir.path() + "/elsewhere"}));
    ASSERT_EQ(ui.messageTexts().size(), 2u);
    for (const std::string &text : ui.messageTexts()) EXPECT_TRUE(text.starts_with("Unable to load Trend Link DLL!"));
    EXPECT_EQ(writtenDirectory(), kvtest::trendLinkDirectory());
    EXPECT_TRUE(trendLink.load()) << "loaded once";
    EXPECT_EQ(ui.messageTexts().size(), 2u);
}

TEST_F(TrendLinkInterfaceTest, ACancelledChoiceLeavesTrendLinkUnloadedAndTheSettingAsItWas) {
    setDirectory("c:\\Program Files\\Orrin\\tl");
    trendLink.setPaths({dir.path() + "/", settingsPath()}); // the Windows setting means the program directory
    chooseInTurn({});

    EXPECT_FALSE(trendLink.load());
    EXPECT_EQ(offered, (std::vector<std::string>{"c:\\Program Files\\Orrin\\tl"}));
    EXPECT_FALSE(trendLink.loaded());
    EXPECT_EQ(writtenDirectory(), "c:\\Program Files\\Orrin\\tl");
}

TEST_F(TrendLinkInterfaceTest, ALibraryLackingAFunctionIsRefused) {
    const std::string other = dir.path() + "/other";
    fs::create_directories(other);
    fs::create_symlink(kvtest::trendLinkDirectory() + "/" + kTimeConversionLibraryFile,
                       other + "/" + kTrendLinkLibraryFile);
    setDirectory(other);
    chooseInTurn({kvtest::trendLinkDirectory()});

    EXPECT_FALSE(trendLink.load());
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Unable to get a Trend Link DLL function address!"}));
    EXPECT_TRUE(offered.empty()) << "the directory holds the library; it is of another kind";
}

// The C library converts as LocalToGMT does, both readings of the hour the
// clocks go back included.
TEST_F(TrendLinkInterfaceTest, LocalTimeConvertsAlikeWithAndWithoutTheTimeConversionLibrary) {
    std::vector<std::tm> times;
    for (const auto [month, day, hour, summer] :
         {std::array{7, 1, 12, -1}, std::array{1, 15, 3, -1}, std::array{10, 27, 2, 1}, std::array{10, 27, 2, 0}}) {
        std::tm local{};
        local.tm_year = 124;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = 30;
        local.tm_isdst = summer;
        times.push_back(local);
    }
    ASSERT_EQ(library.load(kvtest::trendLinkDirectory(), kvtest::trendLinkDirectory()), TrendLinkLoad::Loaded);
    std::vector<std::optional<std::int64_t>> withLibrary;
    for (const std::tm &local : times) withLibrary.push_back(library.localToGmt(local));
    ASSERT_EQ(library.load(kvtest::trendLinkDirectory(), dir.path()), TrendLinkLoad::Loaded);
    std::vector<std::optional<std::int64_t>> withoutLibrary;
    for (const std::tm &local : times) withoutLibrary.push_back(library.localToGmt(local));

    EXPECT_EQ(withLibrary, withoutLibrary);
    EXPECT_EQ(withLibrary[0], 1719829800); // 2024-07-01 10:30 GMT
    EXPECT_EQ(*withLibrary[2] + 3600, *withLibrary[3]) << "summer time first, then winter time";
}

TEST_F(TrendLinkInterfaceTest, ShowTrendLinkLooksForTheChartOfTheDataSetOrAnyChart) {
    const int slot = addInstrument(7, "Boiler feed.set");
    const DataFileSetup &file = table.slot(slot).setup->dataFile;
    const std::string program = kvtest::trendLinkDirectory() + "/tl32";

    const ChartProgramStart before = trendLink.chartProgramStart(&file);
    EXPECT_EQ(before.program, program) << "the Windows name means the program installed here";
    EXPECT_EQ(before.chartFile, "") << "no chart yet";
    EXPECT_EQ(before.windowTitle, "");

    ASSERT_NE(open(slot), nullptr) << ::testing::PrintToString(ui.messageTexts());
    const ChartProgramStart after = trendLink.chartProgramStart(&file);
    EXPECT_EQ(after.chartFile, dataPath("_Boiler feed/Boiler f.cht"));
    EXPECT_EQ(after.windowTitle, "Trend Link for Orrin - Boiler f.cht");

    DataFileSetup ascii = file;
    ascii.format = FileFormat::Ascii;
    EXPECT_EQ(trendLink.chartProgramStart(&ascii).windowTitle, "");
    EXPECT_EQ(trendLink.chartProgramStart(nullptr).program, program);
}

} // namespace
} // namespace korvel
