// The add-on loaded the way the logger loads it, with a played logger on one
// side and real socket clients on the other: commands and their replies,
// the paths commands ask for, news of the logger, and scans in order.
#include "played_logger.h"
#include "toolbox_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <unistd.h>

#include "temp_dir.h"
#include "wait_for.h"

namespace qpext32_test {
namespace {

constexpr int kThreeChannels = 0b111;
constexpr std::uint32_t kLargestQueue = 65440;

class ToolboxLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        ::unsetenv("QPEXT32_QUEUE_MEMORY");
    }
    void TearDown() override {
        logger.reset();
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    PlayedLogger &load(std::vector<PlayedInstrument> instruments = {{12, kLargestQueue, kThreeChannels},
                                                                    {13, kLargestQueue, kThreeChannels, true}}) {
        logger = std::make_unique<PlayedLogger>(QPEXT32_PATH, std::move(instruments));
        return *logger;
    }

    // The reply line of a command sent by client.
    static std::string command(ToolboxClient &client, const std::string &line) {
        client.send(line);
        return client.next("reply ");
    }

    kvtest::TempDir runtime;
    std::unique_ptr<PlayedLogger> logger;
};

TEST_F(ToolboxLinkTest, EveryEntryPointIsThereAndTheVersionsDiffer) {
    for (const auto &[path, version] : {std::pair{QPEXT32_PATH, 1.0f}, std::pair{QPEXT32_OTHER_VERSION_PATH, 2.0f}}) {
        void *library = ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << ::dlerror();
        for (int ordinal = 2; ordinal <= 16; ++ordinal)
            EXPECT_NE(::dlsym(library, ("qpext32_ordinal_" + std::to_string(ordinal)).c_str()), nullptr) << ordinal;
        float reported = 0;
        reinterpret_cast<Qpext32Ordinal2>(::dlsym(library, "qpext32_ordinal_2"))(&reported);
        EXPECT_EQ(reported, version) << path;
        ::dlclose(library);
    }
    EXPECT_THROW(PlayedLogger(QPEXT32_OTHER_VERSION_PATH, {}), std::runtime_error);
}

TEST_F(ToolboxLinkTest, LoggingCommandsComeBackWithTheLoggersReplies) {
    load();
    ToolboxClient client;
    EXPECT_EQ(command(client, "command 1 12"), "reply 1 12 0 start of instrument 12 done");
    EXPECT_EQ(command(client, "command 1 12"), "reply 1 12 -6005 instrument 12 already logs");
    EXPECT_EQ(command(client, "command 1 50"), "reply 1 50 -6003 no instrument with BCN 50 in the setup");
    EXPECT_EQ(command(client, "command 1 13"),
              "reply 1 13 -6004 instrument 13 is a Slave: it starts and stops with its Master");
    EXPECT_EQ(command(client, "command 3 12"), "reply 3 12 0 instrument 12 stopped");
    EXPECT_EQ(command(client, "command 3 12"), "reply 3 12 -6006 instrument 12 does not log, or is already stopping");
    EXPECT_EQ(command(client, "command 2"), "reply 2 0 0 start of all instruments done");
    EXPECT_EQ(command(client, "command 2"), "reply 2 0 -6005 every instrument already logs");
    EXPECT_EQ(command(client, "command 4"), "reply 4 0 0 all instruments stopped");
    EXPECT_EQ(command(client, "command 4"), "reply 4 0 -6006 no instrument logs that is not already stopping");
}

TEST_F(ToolboxLinkTest, ADialogRefusesEveryCommandButRemoteMode) {
    load().setDialogOpen(true);
    ToolboxClient client;
    EXPECT_EQ(command(client, "command 1 12"), "reply 1 0 -6000 refused: a dialog is open in the logger");
    EXPECT_EQ(command(client, "command 9 1"), "reply 9 0 0 remote mode switched");
    EXPECT_EQ(command(client, "command 9 1"), "reply 9 0 -6001 remote mode is already on");
    EXPECT_EQ(command(client, "command 9 0"), "reply 9 0 0 remote mode switched");
    EXPECT_EQ(command(client, "command 9 0"), "reply 9 0 -6002 remote mode is already off");
}

TEST_F(ToolboxLinkTest, NewsOfTheLoggerReachesEveryClient) {
    PlayedLogger &played = load();
    ToolboxClient first;
    ToolboxClient second;
    played.setRunning(12, true);
    played.reportError(12, QPEXT32_REPORT_COMMUNICATION);
    second.send("command 9 1");
    for (ToolboxClient *client : {&first, &second}) {
        EXPECT_EQ(client->next("run "), "run 12 logging");
        EXPECT_EQ(client->next("report "), "report 12 1 communication interruption");
        EXPECT_EQ(client->next("remote-mode "), "remote-mode on");
    }
    played.setQueue(12, 0);
    played.deleteInstrument(13);
    EXPECT_EQ(first.next("queue "), "queue 12 0");
    EXPECT_EQ(first.next("removed "), "removed 13");
}

TEST_F(ToolboxLinkTest, FilesGoToTheLoggerWithTheirCommand) {
    PlayedLogger &played = load();
    ToolboxClient client;
    client.send("path open /setups/next one.stp");
    client.send("command 6");
    EXPECT_EQ(client.linesUntil("reply "),
              (std::vector<std::string>{"setup /setups/next one.stp", "reply 6 0 0 setup opened"}));
    client.send("path open relative/other.stp");
    EXPECT_EQ(command(client, "command 5"), "reply 5 0 0 setup opened");
    // Saving goes to the setup's own file unless another is named.
    client.send("path open third.stp");
    EXPECT_EQ(command(client, "command 7"), "reply 7 0 0 setup saved where it had changes, and opened");
    client.send("path save /copies/kept.stp");
    client.send("path open fourth.stp");
    EXPECT_EQ(command(client, "command 7"), "reply 7 0 0 setup saved where it had changes, and opened");
    client.send("path open missing.stp");
    EXPECT_EQ(command(client, "command 6"), "reply 6 0 -6026 the setup file does not exist");
    client.send("path open /scaling/mxb.txt");
    EXPECT_EQ(command(client, "command 8 12"), "reply 8 12 0 Mx+B file loaded into instrument 12");
    EXPECT_EQ(played.pathsAsked(),
              (std::vector<std::string>{"open:/setups/next one.stp", "open:relative/other.stp",
                                        "save:relative/other.stp", "open:third.stp", "save:/copies/kept.stp",
                                        "open:fourth.stp", "open:missing.stp", "open:/scaling/mxb.txt"}));

    // A command that needs a file is not posted without one, and a path is
    // given to one command only.
    const int run = played.commandsRun();
    client.send("command 6");
    EXPECT_EQ(client.next("error "), "error command 6 needs a file: send \"path open FILE\" first");
    EXPECT_EQ(played.commandsRun(), run);
}

TEST_F(ToolboxLinkTest, APathIsNeverCutShort) {
    PlayedLogger &played = load();
    ToolboxClient client;
    client.send("path open /setups/a.stp");
    played.holdCommands(true);
    client.send("command 6");
    ASSERT_TRUE(kvtest::waitFor(
        [&] {
            char buffer[64];
            return played.askPath(QPEXT32_PATH_OPEN, buffer, sizeof(buffer)) == 13;
        },
        kBoundMs));
    char exact[14];
    EXPECT_EQ(played.askPath(QPEXT32_PATH_OPEN, exact, sizeof(exact)), 13);
    EXPECT_STREQ(exact, "/setups/a.stp");
    char shorter[13] = "untouched";
    EXPECT_EQ(played.askPath(QPEXT32_PATH_OPEN, shorter, sizeof(shorter)), -1);
    EXPECT_STREQ(shorter, "");
    char none[16];
    EXPECT_EQ(played.askPath(QPEXT32_PATH_SAVE, none, sizeof(none)), -1);
    played.holdCommands(false);
    EXPECT_EQ(client.next("reply "), "reply 6 0 0 setup opened");
}

TEST_F(ToolboxLinkTest, CommandsOfManyClientsReachTheLoggerOneAtATime) {
    PlayedLogger &played = load({{12, 0, kThreeChannels}, {14, 0, kThreeChannels}});
    ToolboxClient first;
    ToolboxClient second;
    played.holdCommands(true); // a busy logger: every command waits behind the first
    for (int i = 0; i < 5; ++i) {
        first.send("command 1 12");
        second.send("command 3 14");
    }
    played.holdCommands(false);
    int firstStarted = 0, secondStopped = 0;
    for (int i = 0; i < 5; ++i) {
        firstStarted += first.next("reply ") == "reply 1 12 0 start of instrument 12 done";
        secondStopped += second.next("reply ").rfind("reply 3 14 ", 0) == 0;
    }
    EXPECT_EQ(firstStarted, 1) << "only the first start finds the instrument stopped";
    EXPECT_EQ(secondStopped, 5);
    EXPECT_EQ(played.commandsRun(), 10);
    EXPECT_EQ(played.overlappingPosts(), 0);
}

TEST_F(ToolboxLinkTest, StatusTellsWhatTheAddOnKnows) {
    PlayedLogger &played = load({{12, 4096, kThreeChannels}, {13, 0, 0}});
    played.setRunning(12, true);
    ToolboxClient client;
    client.send("status");
    EXPECT_EQ(client.linesUntil("status end"),
              (std::vector<std::string>{"status channel DideradevUzevuvoLoggerCmdMessage", "status remote-mode off",
                                        "status setup /setups/current.stp",
                                        "status instrument 12 logging queue 4096 record 40 lost 0",
                                        "status instrument 13 stopped queue 0 record 0 lost 0", "status end"}));
}

TEST_F(ToolboxLinkTest, BadRequestsAreAnsweredAndHarmless) {
    load();
    ToolboxClient client;
    for (const char *bad : {"command", "command 0", "command 10 1", "command 1 x", "command 1 -3", "subscribe 0",
                            "subscribe 100", "path", "path delete /x", "frobnicate"}) {
        client.send(bad);
        EXPECT_NE(client.next("error "), "") << bad;
    }
    EXPECT_EQ(command(client, "command 1 12"), "reply 1 12 0 start of instrument 12 done");
}

TEST_F(ToolboxLinkTest, ScansArriveInOrderAndNoneIsLostWhenTheQueueHasRoom) {
    PlayedLogger &played = load();
    ToolboxClient first;
    ToolboxClient second;
    first.send("subscribe 12");
    second.send("subscribe 12");
    EXPECT_EQ(first.next("subscribed "), "subscribed 12 65440");
    EXPECT_EQ(second.next("subscribed "), "subscribed 12 65440");
    // 65440 bytes hold 1636 scans of three channels: the whole run fits
    // however far behind the service falls.
    constexpr int kScans = 1600;
    for (int read = 0; read < kScans; read += 20) played.readScans(12, 20, kScans - read - 20);
    for (ToolboxClient *client : {&first, &second}) {
        EXPECT_EQ(client->next("columns "), "columns 12 Time,\"Oven, top (\u00B0C)\",Channel 2 (V),Channel 3 (V),"
                                            "DIO,Totalizer,Alarm1,Alarm2");
        for (int number = 1; number <= kScans; ++number) {
            const std::string expected = "scan 12 " + std::to_string(number) + " " +
                                         std::to_string(kScans - 20 * ((number + 19) / 20)) + " " +
                                         scanCsv(static_cast<std::uint64_t>(number), 3);
            const std::string line = client->next("scan ");
            ASSERT_EQ(line, expected);
        }
    }
    first.send("status");
    EXPECT_EQ(first.next("status instrument 12"), "status instrument 12 stopped queue 65440 record 40 lost 0");
}

TEST_F(ToolboxLinkTest, AFullQueueCountsTheScansItLost) {
    PlayedLogger &played = load({{12, 148, kThreeChannels}});
    ToolboxClient client;
    client.send("subscribe 12");
    ASSERT_EQ(client.next("subscribed "), "subscribed 12 148");
    // 148 bytes hold three scans of 40 bytes; a read of five loses two.
    played.readScans(12, 5);
    EXPECT_EQ(client.next("overflow "), "overflow 12 2 2");
    for (int number = 1; number <= 3; ++number)
        EXPECT_EQ(client.next("scan "), "scan 12 " + std::to_string(number) + " 0 " + scanCsv(number, 3));
    client.send("status");
    EXPECT_EQ(client.next("status instrument"), "status instrument 12 stopped queue 148 record 40 lost 2");
}

TEST_F(ToolboxLinkTest, ScansNobodyFollowsAreNotKept) {
    PlayedLogger &played = load();
    played.readScans(12, 10);
    ToolboxClient client;
    client.send("subscribe 12");
    ASSERT_NE(client.next("subscribed "), "");
    played.readScans(12, 1);
    EXPECT_EQ(client.next("scan "), "scan 12 11 0 " + scanCsv(11, 3)) << "numbering went on meanwhile";
    client.send("unsubscribe 12");
    ASSERT_EQ(client.next("unsubscribed "), "unsubscribed 12");
    played.readScans(12, 1);
    client.send("status");
    EXPECT_EQ(client.next("status instrument 12"), "status instrument 12 stopped queue 65440 record 40 lost 0");
    EXPECT_EQ(client.next("scan ", 200), "");
}

TEST_F(ToolboxLinkTest, QueueSizesTheAddOnCannotHaveAreRefused) {
    PlayedLogger &played = load({{12, 0, kThreeChannels}});
    EXPECT_EQ(played.setQueue(12, 148), QPEXT32_OK);
    EXPECT_EQ(played.setQueue(12, 0), QPEXT32_OK);
    EXPECT_EQ(played.setQueue(12, kLargestQueue), QPEXT32_OK);
    EXPECT_EQ(played.setQueue(12, kLargestQueue + 1), QPEXT32_E_NO_MEMORY);
    EXPECT_EQ(played.setQueue(99, 0xFFFFFFFFu), QPEXT32_E_NO_MEMORY);
    EXPECT_EQ(played.setQueue(100, 1000), QPEXT32_E_NO_MEMORY) << "BCNs are 1..99";
    ToolboxClient client;
    client.send("status");
    EXPECT_EQ(client.next("status instrument 12"), "status instrument 12 stopped queue 0 record 40 lost 0")
        << "a refused size leaves no queue";

    // A refused change in the settings dialog keeps the old queue.
    EXPECT_EQ(played.changeQueue(12, 4096), QPEXT32_OK);
    EXPECT_EQ(played.changeQueue(12, kLargestQueue + 1), QPEXT32_E_NO_MEMORY);
    client.send("status");
    EXPECT_EQ(client.next("status instrument 12"), "status instrument 12 stopped queue 4096 record 40 lost 0");
}

TEST_F(ToolboxLinkTest, TheMemoryLimitRefusesQueuesBeyondIt) {
    ::setenv("QPEXT32_QUEUE_MEMORY", "10000", 1);
    PlayedLogger &played = load({{12, 6000, kThreeChannels}, {14, 0, kThreeChannels}});
    EXPECT_EQ(played.setQueue(14, 5000), QPEXT32_E_NO_MEMORY);
    EXPECT_EQ(played.setQueue(14, 4000), QPEXT32_OK);
    EXPECT_EQ(played.changeQueue(12, 6500), QPEXT32_E_NO_MEMORY);
    EXPECT_EQ(played.changeQueue(12, 5000), QPEXT32_OK) << "its own old queue does not count against it";
}

TEST_F(ToolboxLinkTest, ANewBcnTakesTheQueueAndItsFollowersAlong) {
    PlayedLogger &played = load();
    ToolboxClient client;
    client.send("subscribe 12");
    ASSERT_NE(client.next("subscribed "), "");
    played.readScans(12, 1);
    ASSERT_NE(client.next("scan 12 1 "), "");
    played.changeBcn(12, 22);
    EXPECT_EQ(client.next("renamed "), "renamed 12 22");
    played.readScans(22, 1);
    EXPECT_NE(client.next("columns 22 "), "");
    EXPECT_EQ(client.next("scan "), "scan 22 2 0 " + scanCsv(2, 3));
}

TEST_F(ToolboxLinkTest, AClientThatNeverReadsIsLetGoAndHoldsNothingUp) {
    PlayedLogger &played = load({{12, kLargestQueue, (1u << 30) - 1}});
    ToolboxClient deaf;
    deaf.send("subscribe 12");
    ToolboxClient reader;
    reader.send("subscribe 12");
    ASSERT_NE(deaf.next("subscribed "), "");
    ASSERT_NE(reader.next("subscribed "), "");
    std::atomic<bool> feeding = true;
    std::atomic<int> scansRead = 0;
    std::thread reading([&] {
        std::string line;
        for (;;) {
            const auto read = reader.connection().readLine(line, 100);
            if (read == korvel::LocalClient::Read::Line && line.rfind("scan ", 0) == 0) ++scansRead;
            if (read == korvel::LocalClient::Read::Closed || (read == korvel::LocalClient::Read::TimedOut && !feeding))
                return;
        }
    });
    // Some 7 MB of scan lines, far beyond what the service keeps for a
    // client; every read of the logger returns at once all the same. The
    // reads keep pace with the reading client so that its scans all come.
    bool keptPace = true;
    for (int read = 100; read <= 30000 && keptPace; read += 100) {
        played.readScans(12, 100);
        keptPace = kvtest::waitFor([&] { return scansRead >= read; }, kBoundMs);
    }
    feeding = false;
    reading.join();
    ASSERT_TRUE(keptPace);
    EXPECT_TRUE(deaf.closedByService());
    reader.send("status");
    EXPECT_EQ(reader.next("status end"), "status end") << "the reading client was let go too";
}

TEST_F(ToolboxLinkTest, ShuttingDownClosesTheServiceAndItsSocket) {
    PlayedLogger &played = load();
    ToolboxClient client;
    played.onMainLoop([&] {
        void *library = ::dlopen(QPEXT32_PATH, RTLD_NOW | RTLD_NOLOAD);
        reinterpret_cast<Qpext32Ordinal4>(::dlsym(library, "qpext32_ordinal_4"))();
        ::dlclose(library);
    });
    EXPECT_TRUE(client.closedByService());
    EXPECT_NE(::access((runtime.path() + "/korvel32/toolbox").c_str(), F_OK), 0);
    EXPECT_THROW(ToolboxClient(), std::system_error);
}

TEST_F(ToolboxLinkTest, ASecondLoggerGoesOnWithoutTheNameTheFirstServes) {
    load();
    // A copy of the library loads apart from the first, as in another process.
    const std::string copy = runtime.path() + "/libqpext32-copy.so";
    std::filesystem::copy_file(QPEXT32_PATH, copy);
    PlayedLogger second(copy, {{12, kLargestQueue, kThreeChannels}});
    second.readScans(12, 1);
    ToolboxClient client;
    EXPECT_EQ(command(client, "command 1 12"), "reply 1 12 0 start of instrument 12 done");
    EXPECT_EQ(second.commandsRun(), 0);
}

} // namespace
} // namespace qpext32_test
