#include "setup/mxb_file.h"
#include "setup/mxb_text.h"

#include "scripted_user_interface.h"
#include "setup/setup_template.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

using namespace korvel;

namespace {

const std::string kInvalid = "Mx+B Load File Is Invalid!";

// What a bad line of the file reads as in message 48.
std::string invalidQuoting(const std::string &line) { return kInvalid + "\r\n\"" + line + "...\""; }

TEST(MxbText, ReadsTheLinesOfAGoodFile) {
    struct Case {
        const char *text;
        char decimal;
        int channel;
        double m;
        double b;
    };
    const Case cases[] = {
        {"3 2.5 -1", '.', 3, 2.5, -1.0},
        {"3\t 2.5\t-1\r\n", '.', 3, 2.5, -1.0},
        {"30 1.5e3 -2E-2 anything after a blank", '.', 30, 1500.0, -0.02},
        {"7 +.5 4.", '.', 7, 0.5, 4.0},
        {"3 2,5 -1,25", ',', 3, 2.5, -1.25},
        {"1 9.9999e9 -9.9999e9", '.', 1, 9.9999e9, -9.9999e9},
        {"1 1e-400 0", '.', 1, 0.0, 0.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const MxbText parsed = parseMxbText(c.text, c.decimal);
        ASSERT_TRUE(parsed.valid);
        ASSERT_EQ(parsed.lines.size(), 1u);
        EXPECT_EQ(parsed.lines[0].channel, c.channel);
        EXPECT_DOUBLE_EQ(parsed.lines[0].m, c.m);
        EXPECT_DOUBLE_EQ(parsed.lines[0].b, c.b);
    }
    EXPECT_EQ(parseMxbText("1 2 3\n2 3 4\r\n5 6 7", '.').lines.size(), 3u);
}

TEST(MxbText, QuotesTheFirstLineThatBreaksTheForm) {
    struct Case {
        const char *text;
        char decimal;
        const char *quoted;
    };
    const Case cases[] = {
        {"31 1 0", '.', "31 1 0"},     {"0 1 0", '.', "0 1 0"},
        {"3,2.5,-1", '.', "3,2.5,-1"}, {"3 2.5 -1x", '.', "3 2.5 -1x"},
        {"3 2.5", '.', "3 2.5"},       {" 3 2.5 -1", '.', " 3 2.5 -1"},
        {"3 1e10 0", '.', "3 1e10 0"}, {"3 1 -1e999", '.', "3 1 -1e999"},
        {"3 0x10 0", '.', "3 0x10 0"}, {"3 nan 0", '.', "3 nan 0"},
        {"3 1e 0", '.', "3 1e 0"},     {"99999999999999999999 1 0", '.', "99999999999999999999 1 0"},
        {"1 1 0\n\n2 1 0", '.', ""},   {"1 1 0\r\n2 1.5 x\r\n3 1 0", '.', "2 1.5 x"},
        {"2 1,5 x", ',', "2 1,5 x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const MxbText parsed = parseMxbText(c.text, c.decimal);
        EXPECT_FALSE(parsed.valid);
        EXPECT_EQ(parsed.offendingLine, c.quoted);
    }
    EXPECT_EQ(parseMxbText(std::string(150, 'x'), '.').offendingLine, std::string(100, 'x'));
}

// Every cut of a good file and a spread of random bytes: each reads as good
// lines or as one quoted bad line, never past the text (the sanitizer build
// watches that).
TEST(MxbText, MeetsTruncatedAndGarbageText) {
    const std::string good = "1 2.5 -1\r\n2 1e3 0.25\r\n30 -4 7 note\n";
    for (std::size_t length = 0; length <= good.size(); ++length) {
        const std::string cut = good.substr(0, length);
        const MxbText parsed = parseMxbText(cut, '.');
        EXPECT_LE(parsed.offendingLine.size(), cut.size());
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string text(static_cast<std::size_t>(round % 120), '\0');
        for (char &c : text) c = static_cast<char>(byte(random));
        const MxbText parsed = parseMxbText(text, ',');
        EXPECT_LE(parsed.offendingLine.size(), 100u);
        for (const MxbLine &line : parsed.lines) EXPECT_LE(std::abs(line.m), kValueLimit);
    }
}

class MxbLoad : public ::testing::Test {
protected:
    MxbLoad() {
        setupTemplate.complete("Label", "VDC"); // channels 1..3 VDC, the rest OFF
        table.add(1, 12, ModelCode::M100A);
    }

    std::string write(const std::string &name, const std::string &text) const {
        const std::string path = dir.path() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    MxbLoadResult load(const std::string &text) { return loadMxbFile(table, 1, write("scale.txt", text), '.', ui); }

    const InstrumentSetup &setup() const { return *table.slot(1).setup; }

    kvtest::TempDir dir;
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    ScriptedUserInterface ui;
};

TEST_F(MxbLoad, EnablesScalingInSinglePrecisionAndTellsQuickPlot) {
    EXPECT_EQ(load("3 2.5 -1\r\n1 0.1 0\r\n"), MxbLoadResult::Applied);
    EXPECT_TRUE(setup().channel(3).mxbEnabled);
    EXPECT_EQ(setup().channel(3).m, 2.5);
    EXPECT_EQ(setup().channel(3).b, -1.0);
    EXPECT_EQ(setup().channel(1).m, static_cast<double>(0.1f));
    EXPECT_TRUE(ui.messages().empty());
    ASSERT_EQ(ui.notifications().size(), 1u);
    EXPECT_EQ(ui.notifications()[0].message, quick_plot::kConfigurationChanged);
    EXPECT_EQ(ui.notifications()[0].wParam, 1);
}

TEST_F(MxbLoad, AFactorThatChangesNothingSwitchesScalingOff) {
    ASSERT_EQ(load("3 2.5 -1"), MxbLoadResult::Applied);
    EXPECT_EQ(load("3 1 0"), MxbLoadResult::Applied);
    EXPECT_FALSE(setup().channel(3).mxbEnabled);
    EXPECT_EQ(setup().channel(3).m, 1.0);
    EXPECT_EQ(setup().channel(3).b, 0.0);
    EXPECT_EQ(load("3 1.000001 1e-9"), MxbLoadResult::Applied);
    EXPECT_FALSE(setup().channel(3).mxbEnabled);
    EXPECT_EQ(load("3 1.00002 0"), MxbLoadResult::Applied);
    EXPECT_TRUE(setup().channel(3).mxbEnabled);
}

TEST_F(MxbLoad, LinesForOffChannelsAloneChangeNothingAndShowNothing) {
    const InstrumentSetup before = setup();
    EXPECT_EQ(load("4 2 0\n25 3 1\n"), MxbLoadResult::Unchanged);
    EXPECT_EQ(setup(), before);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.notifications().empty());
}

TEST_F(MxbLoad, ABadLineRefusesTheWholeFile) {
    const InstrumentSetup before = setup();
    EXPECT_EQ(load("1 2 0\n3,2.5,-1\n2 2 0\n"), MxbLoadResult::Refused);
    EXPECT_EQ(setup(), before);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, invalidQuoting("3,2.5,-1"));
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Exclamation);
}

TEST_F(MxbLoad, RefusesFilesItCannotOrMustNotRead) {
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {dir.path() + "/missing.txt", "Unable to Open Mx+B File!"},
        {dir.path(), "Unable to Open Mx+B File!"},
        {write("empty.txt", ""), kInvalid},
        {write("large.txt", "1 1 0\n" + std::string(995, ' ')), kInvalid},
    };
    const InstrumentSetup before = setup();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        ScriptedUserInterface shown;
        EXPECT_EQ(loadMxbFile(table, 1, c.path, '.', shown), MxbLoadResult::Refused);
        ASSERT_EQ(shown.messages().size(), 1u);
        EXPECT_EQ(shown.messages()[0].text, c.message);
        EXPECT_EQ(shown.busyDepth(), 0);
    }
    EXPECT_EQ(setup(), before);
}

TEST_F(MxbLoad, AFileOfExactlyTheLimitIsRead) {
    EXPECT_EQ(load("1 2 0" + std::string(995, ' ')), MxbLoadResult::Applied);
    EXPECT_EQ(setup().channel(1).m, 2.0);
}

// The toolbox reads the codes as 16-bit values: 59533, 59531 and 59511.
std::uint16_t wireCode(ToolboxReply reply) { return static_cast<std::uint16_t>(reply); }

TEST_F(MxbLoad, RemoteCommandAnswersWithReplyCodes) {
    const auto notLogging = [](int) { return false; };
    write("scale.txt", "2 4 1\n");

    EXPECT_EQ(wireCode(loadMxbFileRemotely(table, 13, "scale.txt", dir.path(), notLogging, '.', ui).reply), 59533);
    EXPECT_EQ(wireCode(loadMxbFileRemotely(
                           table, 12, "scale.txt", dir.path(), [](int slot) { return slot == 1; }, '.', ui)
                           .reply),
              59531);
    EXPECT_EQ(wireCode(loadMxbFileRemotely(table, 12, "other.txt", dir.path(), notLogging, '.', ui).reply), 59511);
    EXPECT_FALSE(setup().channel(2).mxbEnabled);

    const MxbRemoteResult relative = loadMxbFileRemotely(table, 12, "scale.txt", dir.path(), notLogging, '.', ui);
    EXPECT_EQ(relative.reply, ToolboxReply::Done);
    EXPECT_TRUE(relative.changed);
    EXPECT_EQ(setup().channel(2).m, 4.0);

    write("absolute.txt", "2 5 1\n");
    EXPECT_TRUE(
        loadMxbFileRemotely(table, 12, dir.path() + "/absolute.txt", "/nonexistent", notLogging, '.', ui).changed);
    EXPECT_EQ(setup().channel(2).m, 5.0);
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
