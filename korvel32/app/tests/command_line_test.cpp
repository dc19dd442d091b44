#include "app/command_line.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(CommandLine, QuotedSetupPathWithABlankFollowedBySwitches) {
    const CommandLine line = parseCommandLine("\"/home/op/plant setups/line 1.stp\" /g /s");
    EXPECT_EQ(line.setupFile, "/home/op/plant setups/line 1.stp");
    EXPECT_TRUE(line.startAll);
    EXPECT_TRUE(line.noSplash);
    EXPECT_FALSE(line.calibration);
    EXPECT_FALSE(line.surviveLogOff);
}

TEST(CommandLine, OnlyTheLetterAfterTheSlashCountsInEitherCase) {
    const CommandLine line = parseCommandLine("  /C   /xyz /Go /q  ");
    EXPECT_TRUE(line.calibration);
    EXPECT_TRUE(line.surviveLogOff);
    EXPECT_TRUE(line.startAll);
    EXPECT_FALSE(line.noSplash) << "/q means nothing, and /xyz is X only";
    EXPECT_EQ(line.setupFile, "");
}

TEST(CommandLine, TheLastFileNameCounts) {
    EXPECT_EQ(parseCommandLine("first.stp \"second one.stp\" third.stp").setupFile, "third.stp");
    EXPECT_EQ(parseCommandLine("first.stp \"second one.stp\" /G").setupFile, "second one.stp");
    EXPECT_EQ(parseCommandLine("\"never closed.stp").setupFile, "never closed.stp");
}

TEST(CommandLine, AnAbsolutePathIsAFileNameNotASwitch) {
    const CommandLine line = parseCommandLine("/srv/setups/a.stp /S \"/c\"");
    EXPECT_EQ(line.setupFile, "/c") << "a quoted token is always a file name";
    EXPECT_TRUE(line.noSplash);
    EXPECT_FALSE(line.calibration);
    EXPECT_EQ(parseCommandLine("/srv/setups/a.stp").setupFile, "/srv/setups/a.stp");
}

TEST(CommandLine, ArgumentsSplitByTheSystemKeepTheirBlanks) {
    const CommandLine line = parseArguments({"/X", "/home/op/plant setups/line 1.stp", "/s"});
    EXPECT_EQ(line.setupFile, "/home/op/plant setups/line 1.stp");
    EXPECT_TRUE(line.surviveLogOff);
    EXPECT_TRUE(line.noSplash);
    EXPECT_FALSE(parseArguments({}).startAll);
}

} // namespace
} // namespace korvel
