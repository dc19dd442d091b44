// korvel32 --headless serving live values while it logs korvel-sim
// instruments: the topics and items a client may name and what they say, the
// updates of an advise, clients that misbehave (which never cost a scan), and
// one logger per service name.
#include <child_process.h>
#include <data_file_scans.h>
#include <general_network_instruments.h>
#include <live_values_client.h>
#include <logger_directories.h>
#include <sim_process.h>
#include <temp_dir.h>
#include <wait_for.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using korvel::LocalClient;
using kvtest::LiveValuesClient;

constexpr int kLogging = 7; // ten scans a second into a .csv file
constexpr int kQuiet = 8;   // logs, but its external trigger never comes
constexpr int kBrief = 9;   // ten scans a second for one second, no data file
constexpr int kSpare = 10;  // for a second logger
constexpr int kBoundMs = 30000;
constexpr char kService[] = "korvel32";
constexpr uid_t kNobody = 65534;

class LiveValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim = kvtest::startGeneralNetworkInstruments({kLogging, kQuiet, kBrief, kSpare}, home.path());
        sim->control("value 7 5 1.25");
        sim->control("special 7 2 open");
    }

    std::string csvPath() const { return home.path() + "/bcn7.csv"; }

    // Channels 1, 2 and 5 of the logging instrument are defined; 3 is OFF.
    std::string writeSetup() const {
        std::ostringstream setup;
        setup << "[KorLogger]\r\nSimMode=No\r\n"
              << "[Korvel1]\r\nBCN=7\r\nTriggerType=Intvl\r\nIntvls=0.1,0.1\r\nDataFileEnabled=Yes\r\nDataFile="
              << csvPath() << "\r\nFileFormat=ASCII\r\nC1=VDC,4,\r\nC2=VDC,4,\r\nC5=VDC,4,\r\n"
              << "[Korvel2]\r\nBCN=8\r\nTriggerType=Ext\r\nC1=VDC,4,\r\n"
              << "[Korvel3]\r\nBCN=9\r\nTriggerType=Intvl\r\nIntvls=0.1,0.1\r\nStopScanning=Yes\r\nStopIntvl=1\r\n"
              << "C1=VDC,4,\r\n";
        return writeFile("live.stp", setup.str());
    }

    std::string writeSpareSetup() const {
        return writeFile("spare.stp",
                         "[KorLogger]\r\nSimMode=No\r\n[Korvel1]\r\nBCN=10\r\nTriggerType=Ext\r\nC1=VDC,4,\r\n");
    }

    std::string writeFile(const std::string &name, const std::string &text) const {
        const std::string path = home.path() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    static std::unique_ptr<kvtest::ChildProcess> launch(const std::string &setup, std::vector<std::string> options) {
        std::vector<std::string> argv{KORVEL32_PATH, "--headless", setup};
        argv.insert(argv.end(), options.begin(), options.end());
        return std::make_unique<kvtest::ChildProcess>(argv);
    }

    void startLogger() { logger = launch(writeSetup(), {}); }

    // Stops the logger as a user would: it ends cleanly with every scan of
    // the logging instrument in its data file.
    void stopLogger() {
        logger->signal(SIGINT);
        EXPECT_EQ(logger->wait(kBoundMs), 0) << logger->errors();
    }

    void stopLoggerWithEveryScanLogged() {
        stopLogger();
        const kvtest::ScanCounters counted = sim->counters(kLogging);
        EXPECT_GT(counted.produced, 0);
        EXPECT_EQ(counted.fetched, counted.produced);
        EXPECT_EQ(static_cast<long>(korvel::csvScanRows(csvPath()).size()), counted.produced);
    }

    static long updatesOf(const LiveValuesClient &client, const std::string &topic, const std::string &item) {
        const auto &updates = client.updates();
        return std::count_if(updates.begin(), updates.end(), [&](const kvtest::LiveUpdate &update) {
            return update.topic == topic && update.item == item;
        });
    }

    kvtest::TempDir home;
    kvtest::LoggerDirectories directories{home.path()};
    std::unique_ptr<kvtest::SimProcess> sim;
    std::unique_ptr<kvtest::ChildProcess> logger;
};

TEST_F(LiveValuesTest, TopicsAndItemsAreTakenOrRefusedAndSayWhatTheNewestScanSays) {
    startLogger();
    LiveValuesClient client(kService);

    EXPECT_EQ(client.ask("connect System"), "connected System");
    EXPECT_EQ(client.ask("request System Topics"), "data System Topics System, BCN07, BCN08, BCN09");
    EXPECT_EQ(client.ask("request System SysItems"), "data System SysItems Topics, SysItems, Formats");
    EXPECT_EQ(client.ask("request System Formats 0"), "data System Formats TEXT") << "no format named";
    EXPECT_EQ(client.ask("request System Formats 2"), "refused request System Formats 2") << "text only";
    EXPECT_EQ(client.ask("request System Items"), "refused request System Items");

    for (const std::string topic : {"BCN7", "BCN100", "BCN00", "BCN7x", "Status"})
        EXPECT_EQ(client.ask("connect " + topic), "refused connect " + topic);
    EXPECT_EQ(client.ask("connect bcn07"), "connected BCN07");
    EXPECT_EQ(client.ask("advise BCN07 c31"), "refused advise BCN07 c31");
    EXPECT_EQ(client.ask("advise BCN07 c0"), "refused advise BCN07 c0");
    EXPECT_EQ(client.ask("poke BCN07 c1 5"), "refused poke BCN07 c1 5") << "live values are read-only";
    EXPECT_EQ(client.ask("execute BCN07 [Start]"), "refused execute BCN07 [Start]");
    EXPECT_TRUE(client.ask("request BCN08 c1").starts_with("error ")) << "no conversation on BCN08";

    ASSERT_TRUE(kvtest::waitFor([&] { return client.ask("request bcn07 C05") == "data BCN07 c5 1.25000"; }, kBoundMs));
    EXPECT_EQ(client.ask("request BCN07 c3"), "data BCN07 c3 0") << "an OFF channel";
    EXPECT_EQ(client.ask("request BCN07 c2"), "data BCN07 c2 +9.00E+9") << "an open thermocouple";
    EXPECT_EQ(client.ask("request BCN07 ALARM1"), "data BCN07 ALARM1 0");
    sim->control("dio 7 0x5A");
    EXPECT_TRUE(kvtest::waitFor([&] { return client.ask("request BCN07 DIO") == "data BCN07 DIO 90"; }, kBoundMs));

    // Logging without a scan yet, and not in the setup at all.
    EXPECT_EQ(client.ask("connect BCN08"), "connected BCN08");
    EXPECT_EQ(client.ask("request BCN08 c1"), "data BCN08 c1 0");
    EXPECT_EQ(client.ask("request BCN08 ELDATETIME"), "data BCN08 ELDATETIME 0");
    EXPECT_EQ(client.ask("connect BCN42"), "connected BCN42");
    EXPECT_EQ(client.ask("request BCN42 c1"), "data BCN42 c1 0");

    // Once its run is over an instrument's defined channel says 0 again.
    EXPECT_EQ(client.ask("connect BCN09"), "connected BCN09");
    ASSERT_TRUE(kvtest::waitFor([&] { return sim->counters(kBrief).fetched > 0; }, kBoundMs));
    EXPECT_TRUE(kvtest::waitFor([&] { return client.ask("request BCN09 c1") == "data BCN09 c1 0"; }, kBoundMs));

    EXPECT_EQ(client.ask("disconnect BCN07"), "disconnected BCN07");
    EXPECT_TRUE(client.ask("request BCN07 c5").starts_with("error "));
    stopLoggerWithEveryScanLogged();
}

TEST_F(LiveValuesTest, AnAdviseBringsTheNewestScanOnceASecondWhileScansArrive) {
    startLogger();
    LiveValuesClient client(kService);
    for (const std::string topic : {"System", "BCN07", "BCN08"})
        ASSERT_EQ(client.ask("connect " + topic), "connected " + topic);
    EXPECT_EQ(client.ask("advise BCN07 ELDATETIME"), "advising BCN07 ELDATETIME");
    EXPECT_EQ(client.ask("advise BCN07 c1"), "advising BCN07 c1");
    EXPECT_EQ(client.ask("advise BCN07 C05 TEXT"), "advising BCN07 c5");
    EXPECT_EQ(client.ask("advise BCN08 c1"), "advising BCN08 c1");
    EXPECT_EQ(client.ask("advise System Topics"), "advising System Topics");

    constexpr long kRounds = 4;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.waitUntil([&] { return updatesOf(client, "BCN07", "ELDATETIME") >= kRounds; }));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    client.ask("request System Formats"); // the rest of the last update comes before the answer

    const long rounds = updatesOf(client, "BCN07", "ELDATETIME");
    EXPECT_LE(rounds, static_cast<long>(seconds) + 2) << "at most one update a second, not one a scan";
    EXPECT_EQ(updatesOf(client, "BCN08", "c1"), 0) << "no update without a new scan";
    EXPECT_EQ(updatesOf(client, "System", "Topics"), 0) << "the instruments stayed the same";
    ASSERT_EQ(static_cast<long>(client.updates().size()), 3 * rounds);

    // Each update is one scan of the data file: its serial date and readings.
    const auto rows = korvel::csvScanRows(csvPath());
    for (std::size_t at = 0; at < client.updates().size(); at += 3) {
        const auto &date = client.updates()[at];
        ASSERT_EQ(date.item, "ELDATETIME");
        EXPECT_EQ(client.updates()[at + 1].item, "c1");
        EXPECT_EQ(client.updates()[at + 2].item, "c5");
        EXPECT_EQ(client.updates()[at + 2].text, "1.25000");
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const auto &columns) { return columns.at(0) == date.text; });
        ASSERT_NE(row, rows.end()) << date.text << " is no TIME of the data file";
        EXPECT_EQ(row->at(1), client.updates()[at + 1].text);
        EXPECT_EQ(row->at(3), client.updates()[at + 2].text);
    }

    EXPECT_EQ(client.ask("unadvise BCN07 c1"), "unadvised BCN07 c1");
    EXPECT_EQ(client.ask("unadvise BCN07 c1"), "refused unadvise BCN07 c1");
    client.forgetUpdates();
    ASSERT_TRUE(client.waitUntil([&] { return updatesOf(client, "BCN07", "c5") >= 2; }));
    EXPECT_EQ(updatesOf(client, "BCN07", "c1"), 0);

    // A client that ends its conversation hears no more of it, while another goes on.
    LiveValuesClient other(kService);
    ASSERT_EQ(other.ask("connect BCN07"), "connected BCN07");
    ASSERT_EQ(other.ask("advise BCN07 c5"), "advising BCN07 c5");
    EXPECT_EQ(client.ask("disconnect BCN07"), "disconnected BCN07");
    client.forgetUpdates();
    ASSERT_TRUE(other.waitUntil([&] { return updatesOf(other, "BCN07", "c5") >= 2; }));
    client.ask("request System Formats");
    EXPECT_EQ(updatesOf(client, "BCN07", "c5"), 0);
    stopLoggerWithEveryScanLogged();
}

// Sends everything unless the logger closes the connection first; true when it did.
bool closedWhileSending(int fd, const std::string &bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t written = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written >= 0) {
            sent += static_cast<std::size_t>(written);
            continue;
        }
        if (errno != EAGAIN) return errno == EPIPE || errno == ECONNRESET;
        pollfd room{fd, POLLOUT, 0};
        if (::poll(&room, 1, kBoundMs) <= 0) return false;
    }
    return false;
}

// A peer of another user, as far as the directories let it reach the socket:
// exit 0 when the logger closed the connection without a word.
int connectAsNobody(const std::string &path) {
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls here.
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        for (std::size_t i = 0; i < path.size() && i + 1 < sizeof address.sun_path; ++i) address.sun_path[i] = path[i];
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) ::_exit(4);
        const char request[] = "connect System\n";
        if (::send(fd, request, sizeof request - 1, MSG_NOSIGNAL) < 0) ::_exit(0);
        char answer[64];
        ::_exit(::recv(fd, answer, sizeof answer, 0) <= 0 ? 0 : 5);
    }
    int status = -1;
    if (child < 0 || !kvtest::waitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, kBoundMs)) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(LiveValuesTest, ClientsThatMisbehaveAreLetGoWhileLoggingGoesOn) {
    startLogger();
    LiveValuesClient watcher(kService);
    ASSERT_EQ(watcher.ask("connect BCN07"), "connected BCN07");
    ASSERT_EQ(watcher.ask("advise BCN07 c5"), "advising BCN07 c5");
    std::string line;

    {
        LocalClient rude(kService);
        ASSERT_EQ(rude.readLine(line, kBoundMs), LocalClient::Read::Line);
        closedWhileSending(rude.descriptor(), std::string(1 << 20, 'x') + "\n");
        while (rude.readLine(line, kBoundMs) == LocalClient::Read::Line) {}
        EXPECT_EQ(rude.readLine(line, 0), LocalClient::Read::Closed) << "a request line of 1 MB ends its connection";
    }
    {
        LocalClient noisy(kService);
        std::mt19937 generator(19);
        std::string noise(256 * 1024, '\0');
        for (char &c : noise) c = static_cast<char>(generator());
        closedWhileSending(noisy.descriptor(), noise);
    }
    {
        // It asks and asks but never reads the answers.
        LiveValuesClient deaf(kService);
        std::string requests;
        for (int i = 0; i < 1000; ++i) requests += "request System Topics\n";
        ASSERT_EQ(deaf.ask("connect System"), "connected System");
        bool dropped = false;
        for (int round = 0; round < 2000 && !dropped; ++round)
            dropped = closedWhileSending(deaf.connection().descriptor(), requests);
        EXPECT_TRUE(dropped) << "a client that never reads is disconnected";
    }
    // The logger has let go of the clients above before more come.
    ASSERT_EQ(watcher.ask("request BCN07 DIO").rfind("data ", 0), 0u);
    {
        std::vector<std::unique_ptr<LiveValuesClient>> crowd;
        for (int i = 1; i < 64; ++i) crowd.push_back(std::make_unique<LiveValuesClient>(kService));
        LocalClient turnedAway(kService);
        ASSERT_EQ(turnedAway.readLine(line, kBoundMs), LocalClient::Read::Line);
        EXPECT_EQ(line, "error busy: the logger serves 64 clients already");
        EXPECT_EQ(turnedAway.readLine(line, kBoundMs), LocalClient::Read::Closed);
        crowd.pop_back();
        ASSERT_EQ(watcher.ask("request BCN07 DIO").rfind("data ", 0), 0u);
        LiveValuesClient nextInLine(kService);
        EXPECT_EQ(nextInLine.ask("connect System"), "connected System");
    }
    if (::geteuid() == 0) {
        // Only the directories keep other users out; open them up to reach
        // the credentials check behind them.
        const std::string directory = home.path() + "/korvel32";
        ASSERT_EQ(::chmod(home.path().c_str(), 0755), 0);
        ASSERT_EQ(::chmod(directory.c_str(), 0755), 0);
        ASSERT_EQ(::chmod((directory + "/" + kService).c_str(), 0777), 0);
        EXPECT_EQ(connectAsNobody(directory + "/" + kService), 0);
    }

    watcher.forgetUpdates();
    EXPECT_TRUE(watcher.waitUntil([&] { return updatesOf(watcher, "BCN07", "c5") >= 2; })) << "still served";
    stopLoggerWithEveryScanLogged();
}

TEST_F(LiveValuesTest, OneLoggerServesANameAndASocketLeftByADeadOneIsTakenOver) {
    startLogger();
    LiveValuesClient client(kService);

    kvtest::ChildProcess same({KORVEL32_PATH, "--headless", writeSpareSetup()});
    EXPECT_EQ(same.wait(kBoundMs), 1);
    EXPECT_NE((same.output() + same.errors()).find("Unable to initialize DDE!"), std::string::npos)
        << same.output() << same.errors();
    EXPECT_EQ(client.ask("connect System"), "connected System") << "the first logger serves on";

    for (int life = 0; life < 2; ++life) {
        auto beside = launch(writeSpareSetup(), {"--service", "spare"});
        LiveValuesClient spare("spare");
        EXPECT_EQ(spare.ask("connect System"), "connected System");
        EXPECT_EQ(spare.ask("request System Topics"), "data System Topics System, BCN10");
        beside->signal(SIGKILL); // its socket stays behind
        beside->wait(kBoundMs);
    }
    stopLogger();
}

} // namespace
