// korvel-remote run as a user or a script runs it, against the add-on loaded
// by a played logger.
#include "played_logger.h"
#include "toolbox_client.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "temp_dir.h"
#include "wait_for.h"

namespace qpext32_test {
namespace {

constexpr int kThreeChannels = 0b111;

class KorvelRemoteTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1); }
    void TearDown() override {
        logger.reset();
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    PlayedLogger &load() {
        logger = std::make_unique<PlayedLogger>(QPEXT32_PATH,
                                                std::vector<PlayedInstrument>{{12, 65440, kThreeChannels},
                                                                              {13, 4096, kThreeChannels, true},
                                                                              {14, 0, kThreeChannels},
                                                                              {15, 148, kThreeChannels, false, true}});
        return *logger;
    }

    static kvtest::ProgramResult remote(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), KORVEL_REMOTE_PATH);
        return kvtest::runProgram(arguments, kBoundMs);
    }

    kvtest::TempDir runtime;
    std::unique_ptr<PlayedLogger> logger;
};

TEST_F(KorvelRemoteTest, EachCommandSaysWhatTheReplyMeansAndExitsByIt) {
    PlayedLogger &played = load();
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string output;
    };
    const Case cases[] = {
        {{"start", "12"}, 0, "start of instrument 12 done\n"},
        {{"start", "12"}, 1, "instrument 12 already logs (reply -6005)\n"},
        {{"start", "40"}, 1, "no instrument with BCN 40 in the setup (reply -6003)\n"},
        {{"start", "13"}, 1, "instrument 13 is a Slave: it starts and stops with its Master (reply -6004)\n"},
        {{"start", "15"}, 1, "start of instrument 15 done\ninstrument 15 does not log: the logger tells why\n"},
        {{"stop", "12"}, 0, "instrument 12 stopped\n"},
        {{"stop", "12"}, 1, "instrument 12 does not log, or is already stopping (reply -6006)\n"},
        {{"start-all"}, 0, "start of all instruments done\n"},
        {{"stop-all"}, 0, "all instruments stopped\n"},
        {{"stop-all"}, 1, "no instrument logs that is not already stopping (reply -6006)\n"},
        {{"open", "/setups/b.stp"}, 0, "setup opened\n"},
        {{"open", "--keep-changes", "relative.stp"}, 0, "setup opened\n"},
        {{"open", "missing.stp"}, 1, "the setup file does not exist (reply -6026)\n"},
        {{"save-and-open", "c.stp"}, 0, "setup saved where it had changes, and opened\n"},
        {{"save-and-open", "--save-to", "/copies/d.stp", "e.stp"}, 0, "setup saved where it had changes, and opened\n"},
        {{"load-mxb", "12", "scaling.txt"}, 0, "Mx+B file loaded into instrument 12\n"},
        {{"load-mxb", "40", "scaling.txt"}, 1, "no instrument with BCN 40 in the setup (reply -6003)\n"},
        {{"remote-mode", "on"}, 0, "remote mode switched\n"},
        {{"remote-mode", "on"}, 1, "remote mode is already on (reply -6001)\n"},
        {{"--timeout", "30", "remote-mode", "off"}, 0, "remote mode switched\n"},
    };
    for (const Case &test : cases) {
        const kvtest::ProgramResult result = remote(test.arguments);
        EXPECT_EQ(result.exitCode, test.exitCode) << test.arguments[0] << result.errors;
        EXPECT_EQ(result.output, test.output) << test.arguments[0];
    }
    EXPECT_EQ(played.pathsAsked(), (std::vector<std::string>{"open:/setups/b.stp", "open:relative.stp",
                                                             "open:missing.stp", "save:relative.stp", "open:c.stp",
                                                             "save:/copies/d.stp", "open:e.stp", "open:scaling.txt"}));
}

TEST_F(KorvelRemoteTest, WithoutALoggerNothingAnswers) {
    const kvtest::ProgramResult result = remote({"start", "12"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.errors.find("no logger answers"), std::string::npos) << result.errors;
}

TEST_F(KorvelRemoteTest, ALoggerThatNeverRunsTheCommandRunsOutTheTime) {
    load().holdCommands(true);
    const kvtest::ProgramResult result = remote({"--timeout", "1", "stop-all"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.errors, "korvel-remote: the logger did not answer in time\n");
}

TEST_F(KorvelRemoteTest, StatusShowsTheLoggerAsTheAddOnKnowsIt) {
    load().setRunning(12, true);
    const kvtest::ProgramResult result = remote({"status"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "Remote mode: off\n"
                             "Setup: /setups/current.stp\n"
                             "Instrument 12: logging, scan queue 65440 bytes (1636 scans), 0 scans lost\n"
                             "Instrument 13: stopped, scan queue 4096 bytes (102 scans), 0 scans lost\n"
                             "Instrument 14: stopped, no scan queue\n"
                             "Instrument 15: stopped, scan queue 148 bytes (3 scans), 0 scans lost\n");
}

// Scans count from the watch's start on, and until then go by unseen: reads
// one scan at a time until the watch prints its header, and returns the
// number of the last scan read.
int readUntilWatched(PlayedLogger &played, kvtest::ChildProcess &watch, int bcn, std::string &header) {
    int read = 0;
    while (header.empty() && read < 2000) {
        played.readScans(bcn, 1);
        ++read;
        watch.readLine(header, 20);
    }
    return read;
}

// True once the running program has written text to its standard error.
bool saysOnStandardError(kvtest::ChildProcess &program, const std::string &text) {
    return kvtest::waitFor(
        [&] {
            std::string line;
            program.readLine(line, 10);
            return program.errors().find(text) != std::string::npos;
        },
        kBoundMs);
}

TEST_F(KorvelRemoteTest, WatchPrintsScansInOrderAsCsvLinesUntilInterrupted) {
    PlayedLogger &played = load();
    kvtest::ChildProcess watch({KORVEL_REMOTE_PATH, "watch", "12"});
    std::string line;
    int read = readUntilWatched(played, watch, 12, line);
    ASSERT_EQ(line, "Time,\"Oven, top (\u00B0C)\",Channel 2 (V),Channel 3 (V),DIO,Totalizer,Alarm1,Alarm2");
    ASSERT_TRUE(watch.readLine(line, kBoundMs));
    int number = 1;
    while (number <= read && line != scanCsv(static_cast<std::uint64_t>(number), 3)) ++number;
    ASSERT_LE(number, read) << "not a scan that was read: " << line;
    // Every later scan follows in order, those read before and those of a new read.
    played.readScans(12, 50);
    read += 50;
    while (number < read) {
        ASSERT_TRUE(watch.readLine(line, kBoundMs));
        ASSERT_EQ(line, scanCsv(static_cast<std::uint64_t>(++number), 3));
    }
    watch.signal(SIGINT);
    EXPECT_EQ(watch.wait(kBoundMs), 0);
    EXPECT_EQ(watch.output(), "");
    EXPECT_EQ(watch.errors(), "");
}

TEST_F(KorvelRemoteTest, WatchTellsOfScansTheQueueLost) {
    PlayedLogger &played = load();
    kvtest::ChildProcess watch({KORVEL_REMOTE_PATH, "watch", "15"});
    std::string header;
    readUntilWatched(played, watch, 15, header);
    ASSERT_FALSE(header.empty());
    played.readScans(15, 5); // a queue of three scans
    EXPECT_TRUE(saysOnStandardError(watch, "scans of instrument 15 lost, the scan queue was full"));
    watch.signal(SIGTERM);
    EXPECT_EQ(watch.wait(kBoundMs), 0);
}

TEST_F(KorvelRemoteTest, WatchingAnInstrumentWithoutAQueueSaysSo) {
    load();
    kvtest::ChildProcess watch({KORVEL_REMOTE_PATH, "watch", "14"});
    EXPECT_TRUE(saysOnStandardError(watch, "instrument 14 has no scan queue"));
    watch.signal(SIGTERM);
    EXPECT_EQ(watch.wait(kBoundMs), 0);
}

TEST_F(KorvelRemoteTest, WrongUsageIsRefusedBeforeAnythingIsSent) {
    load();
    for (const std::vector<std::string> &arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"start"},
                                               {"start", "0"},
                                               {"start", "100"},
                                               {"stop", "12", "13"},
                                               {"open"},
                                               {"open", "--keep", "a.stp"},
                                               {"open", "a.stp\ncommand 1 12"},
                                               {"save-and-open", "--save-to", "a.stp"},
                                               {"load-mxb", "scaling.txt"},
                                               {"remote-mode", "maybe"},
                                               {"watch", "x"},
                                               {"--timeout", "0", "status"},
                                               {"restart", "12"}}) {
        const kvtest::ProgramResult result = remote(arguments);
        EXPECT_EQ(result.exitCode, 64) << (arguments.empty() ? "(none)" : arguments[0]);
        EXPECT_NE(result.errors.find("usage: korvel-remote"), std::string::npos);
    }
    EXPECT_EQ(logger->commandsRun(), 0);
}

} // namespace
} // namespace qpext32_test
