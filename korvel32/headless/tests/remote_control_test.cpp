// korvel32 --headless with its toolbox add-on, driven as a test sequencer
// drives it: korvel-remote and the add-on's socket against simulated
// instruments. The logger waits for remote commands, answers each with its
// reply code, hands every scan to the clients that follow an instrument, and
// reports problems to them under remote mode; without a usable add-on it
// logs as before and says why.

#include "platform/local_client.h"

#include <child_process.h>
#include <general_network_instruments.h>
#include <sim_process.h>
#include <toolbox_client.h>

#include <gtest/gtest.h>

#include <elf.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

using qpext32_test::kBoundMs;
using qpext32_test::ToolboxClient;

constexpr int kHeaderLines = 6; // of a .csv data file

struct Instrument {
    int bcn;
    const char *interval; // seconds between scans
    const char *group = "Async";
};

// The dynamic loader named by the program, with which it can be started
// without its own library search path.
std::string loaderOf(const std::string &program) {
    std::ifstream in(program, std::ios::binary);
    Elf64_Ehdr header{};
    in.read(reinterpret_cast<char *>(&header), sizeof header);
    for (int index = 0; index < header.e_phnum; ++index) {
        Elf64_Phdr segment{};
        in.seekg(static_cast<std::streamoff>(header.e_phoff + static_cast<std::uint64_t>(index) * header.e_phentsize));
        in.read(reinterpret_cast<char *>(&segment), sizeof segment);
        if (segment.p_type != PT_INTERP) continue;
        std::string path(segment.p_filesz, '\0');
        in.seekg(static_cast<std::streamoff>(segment.p_offset));
        in.read(path.data(), static_cast<std::streamsize>(path.size()));
        return path.c_str();
    }
    return {};
}

std::vector<std::string> lines(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

class RemoteControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim = kvtest::startGeneralNetworkInstruments({21, 22, 23}, ccfDir.path());
        ::setenv("KVLINK32_CCF_DIR", ccfDir.path().c_str(), 1);
        ::setenv("KORVEL32_HOME", home.path().c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        useAddOn(QPEXT32_PATH);
    }
    void TearDown() override {
        if (logger) {
            logger->signal(SIGTERM);
            logger->wait(kBoundMs);
        }
        ::unsetenv("KVLINK32_CCF_DIR");
        ::unsetenv("KORVEL32_HOME");
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    // The add-on beside the program, and the settings that turn it on.
    void useAddOn(const std::string &library, const char *toolbox = "True") {
        std::filesystem::remove(home.path() + "/libqpext32.so");
        if (!library.empty()) std::filesystem::create_symlink(library, home.path() + "/libqpext32.so");
        std::ofstream(home.path() + "/korvel32.ini", std::ios::binary)
            << "[Defaults]\r\nDevelopersToolbox=" << toolbox << "\r\nCommTimeout=3\r\n";
    }

    std::string dataFile(int bcn) const { return home.path() + "/bcn" + std::to_string(bcn) + ".csv"; }

    // A text setup in the program directory: one VDC channel per instrument.
    std::string textSetup(const std::string &name, const std::vector<Instrument> &instruments) const {
        std::ostringstream setup;
        setup << "[KorLogger]\r\nSimMode=No\r\n";
        for (std::size_t i = 0; i < instruments.size(); ++i) {
            const Instrument &instrument = instruments[i];
            setup << "[Korvel" << i + 1 << "]\r\nBCN=" << instrument.bcn
                  << "\r\nTriggerType=Intvl\r\nIntvls=" << instrument.interval << ',' << instrument.interval
                  << "\r\nGroup=" << instrument.group
                  << "\r\nWiredGroup=No\r\nDataFileEnabled=Yes\r\nDataFile=" << dataFile(instrument.bcn)
                  << "\r\nFileFormat=ASCII\r\nOverWrite=Yes\r\nC1=VDC,4,\r\n";
        }
        const std::string path = home.path() + "/" + name;
        std::ofstream(path, std::ios::binary) << setup.str();
        return path;
    }

    // The text setup saved as a setup file whose instruments keep toolbox
    // queues of these sizes, as a user makes it with korvel-setup.
    std::string setupWithQueues(const std::string &name, const std::vector<Instrument> &instruments,
                                const std::vector<std::pair<int, int>> &queues) const {
        std::string from = textSetup(name + ".txt", instruments);
        const std::string path = home.path() + "/" + name;
        for (const auto &[bcn, bytes] : queues) {
            const auto made = kvtest::runProgram(
                {KORVEL_SETUP_PATH, "set-queue", from, std::to_string(bcn), std::to_string(bytes), path}, kBoundMs);
            EXPECT_EQ(made.exitCode, 0) << made.errors;
            from = path;
        }
        return path;
    }

    // The logger under remote control, once its add-on listens.
    void launch(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {KORVEL32_PATH, "--headless"});
        logger = std::make_unique<kvtest::ChildProcess>(arguments);
        ASSERT_TRUE(kvtest::waitFor(addOnListens, kBoundMs)) << logger->errors();
    }

    // The socket file is there a moment before the add-on listens on it.
    static bool addOnListens() {
        try {
            korvel::LocalClient probe("toolbox");
            return true;
        } catch (const std::system_error &) {
            return false;
        }
    }

    std::string socketPath() const { return runtime.path() + "/korvel32/toolbox"; }

    static kvtest::ProgramResult remote(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), KORVEL_REMOTE_PATH);
        return kvtest::runProgram(arguments, kBoundMs);
    }

    // Runs korvel-remote and expects its exit code and a line of its output.
    void expectRemote(const std::vector<std::string> &arguments, int exitCode, const std::string &output) {
        const kvtest::ProgramResult result = remote(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << arguments[0] << ": " << result.output << result.errors;
        EXPECT_NE(result.output.find(output), std::string::npos) << arguments[0] << ": " << result.output;
    }

    bool logs(int bcn) {
        return remote({"status"}).output.find("Instrument " + std::to_string(bcn) + ": logging") != std::string::npos;
    }

    // What the logger printed on standard error so far, once it holds text.
    bool loggerSaid(const std::string &text) {
        return kvtest::waitFor(
            [&] {
                std::string ignored;
                logger->readLine(ignored, 20);
                return logger->errors().find(text) != std::string::npos;
            },
            kBoundMs);
    }

    int stopLogger() {
        logger->signal(SIGTERM);
        const int status = logger->wait(kBoundMs);
        logger.reset();
        return status;
    }

    kvtest::TempDir ccfDir;
    kvtest::TempDir home;
    kvtest::TempDir runtime;
    std::unique_ptr<kvtest::SimProcess> sim;
    std::unique_ptr<kvtest::ChildProcess> logger;
};

TEST_F(RemoteControlTest, StartsAndStopsAnswerWithTheReplyCodesAndATerminationDrains) {
    launch({textSetup("plant.stp", {{21, "0.1"}, {22, "0.1", "Master"}, {23, "0.1", "Slave"}})});
    EXPECT_TRUE(loggerSaid("waiting for remote commands"));
    EXPECT_FALSE(logs(21)) << "nothing starts without a command or /G";

    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string output;
    } steps[] = {
        {{"start", "40"}, 1, "no instrument with BCN 40 in the setup (reply -6003)"},
        {{"start", "23"}, 1, "instrument 23 is a Slave: it starts and stops with its Master (reply -6004)"},
        {{"stop", "21"}, 1, "instrument 21 does not log, or is already stopping (reply -6006)"},
        {{"stop-all"}, 1, "(reply -6006)"},
        {{"start", "21"}, 0, "start of instrument 21 done"},
        {{"start", "21"}, 1, "instrument 21 already logs (reply -6005)"},
        {{"open", "plant.stp"}, 1, "refused while instruments log (reply -6005)"},
        {{"start-all"}, 0, "start of all instruments done"},
        {{"start-all"}, 1, "every instrument already logs (reply -6005)"},
        {{"stop", "23"}, 1, "(reply -6004)"},
        {{"stop", "21"}, 0, "instrument 21 stopped"},
        {{"stop-all"}, 0, "all instruments stopped"},
        {{"stop-all"}, 1, "(reply -6006)"},
        {{"remote-mode", "on"}, 0, "remote mode switched"},
        {{"remote-mode", "on"}, 1, "(reply -6001)"},
        {{"remote-mode", "off"}, 0, "remote mode switched"},
        {{"remote-mode", "off"}, 1, "(reply -6002)"},
    };
    for (const auto &step : steps) expectRemote(step.arguments, step.exitCode, step.output);

    // A run the logger's end stops: the file, written afresh, gets every scan.
    const long earlier = sim->counters(21).fetched;
    expectRemote({"start", "21"}, 0, "start of instrument 21 done");
    ASSERT_TRUE(kvtest::waitFor([&] { return lines(dataFile(21)).size() > kHeaderLines + 2; }, kBoundMs));
    EXPECT_EQ(stopLogger(), 0);
    EXPECT_FALSE(std::filesystem::exists(socketPath())) << "the add-on left with the logger";
    const kvtest::ScanCounters counted = sim->counters(21);
    EXPECT_EQ(counted.fetched, counted.produced) << "the run drained before the logger ended";
    EXPECT_EQ(static_cast<long>(lines(dataFile(21)).size()) - kHeaderLines, counted.fetched - earlier);
}

TEST_F(RemoteControlTest, SetupsOpenAndSaveByNamesFromTheProgramDirectory) {
    textSetup("first.stp", {{21, "1"}});
    setupWithQueues("second.stp", {{22, "1"}}, {{22, 4096}});
    launch({});
    expectRemote({"open", "missing.stp"}, 1, "the setup file does not exist (reply -6026)");
    expectRemote({"open", "first.stp"}, 0, "setup opened");
    expectRemote({"status"}, 0, "Setup: " + home.path() + "/first.stp");
    // A text setup stays modified until it is saved.
    expectRemote({"open", "--keep-changes", "second.stp"}, 1, "unsaved changes (reply -6007)");
    expectRemote({"save-and-open", "--save-to", "no-such-directory/first.stp", "second.stp"}, 1, "(reply -6027)");
    expectRemote({"save-and-open", "--save-to", "saved.stp", "second.stp"}, 0, "saved where it had changes");
    const kvtest::ProgramResult status = remote({"status"});
    EXPECT_NE(status.output.find("Setup: " + home.path() + "/second.stp"), std::string::npos) << status.output;
    EXPECT_NE(status.output.find("Instrument 22: stopped, scan queue 4096 bytes"), std::string::npos)
        << "the setup's queue went to the add-on\n"
        << status.output;

    expectRemote({"open", "--keep-changes", "saved.stp"}, 0, "setup opened");
    expectRemote({"status"}, 0, "Instrument 21: stopped, no scan queue");
}

TEST_F(RemoteControlTest, AnMxbFileLoadsThroughTheRemotePathIntoTheScans) {
    const std::string setup = setupWithQueues("scaled.stp", {{21, "0.2"}}, {{21, 65440}});
    std::ofstream(home.path() + "/scale.txt") << "1 1000 5\n";
    sim->control("value 21 1 2");
    launch({setup});
    expectRemote({"load-mxb", "40", "scale.txt"}, 1, "(reply -6003)");
    expectRemote({"load-mxb", "21", "missing.txt"}, 1, "the Mx+B file does not exist (reply -6025)");
    expectRemote({"load-mxb", "21", "scale.txt"}, 0, "Mx+B file loaded into instrument 21");

    ToolboxClient client;
    client.send("subscribe 21");
    ASSERT_FALSE(client.next("subscribed 21 65440").empty());
    expectRemote({"start", "21"}, 0, "start of instrument 21 done");
    const std::string scan = client.next("scan 21 ");
    ASSERT_FALSE(scan.empty());
    EXPECT_NE(scan.find(",2005,"), std::string::npos) << "2 V scaled by 1000 and 5: " << scan;
    expectRemote({"load-mxb", "21", "scale.txt"}, 1, "refused while instrument 21 logs (reply -6005)");
}

TEST_F(RemoteControlTest, UnderRemoteModeProblemsAreReportedToTheClientsInsteadOfShown) {
    launch({textSetup("plant.stp", {{21, "0.2"}})});
    ToolboxClient client;
    expectRemote({"remote-mode", "on"}, 0, "remote mode switched");
    expectRemote({"start", "21"}, 0, "start of instrument 21 done");
    ASSERT_TRUE(kvtest::waitFor([&] { return sim->counters(21).fetched > 0; }, kBoundMs));

    sim->control("silent 21");
    EXPECT_FALSE(client.next("report 21 1 ").empty()) << "a communication interruption";
    EXPECT_EQ(logger->errors().find("Communication Interruption"), std::string::npos) << logger->errors();

    // Back in touch, then out of remote mode: the next interruption is the user's.
    sim->control("clear 21");
    const long fetched = sim->counters(21).fetched;
    ASSERT_TRUE(kvtest::waitFor([&] { return sim->counters(21).fetched > fetched; }, kBoundMs));
    expectRemote({"remote-mode", "off"}, 0, "remote mode switched");
    sim->control("silent 21");
    EXPECT_TRUE(loggerSaid("Instrument 21:  Communication Interruption"));
    sim->control("clear 21"); // so that the logger's end stops the run at once
}

TEST_F(RemoteControlTest, EveryScanReachesItsFollowersInOrderAndAShortQueueCountsTheLost) {
    launch({setupWithQueues("fast.stp", {{21, "0.05"}, {22, "1"}}, {{21, 65440}, {22, 148}})});
    ToolboxClient follower;
    follower.send("subscribe 21");
    ASSERT_FALSE(follower.next("subscribed 21 65440").empty());
    ToolboxClient shortQueue;
    shortQueue.send("subscribe 22");
    ASSERT_FALSE(shortQueue.next("subscribed 22 148").empty());
    kvtest::ChildProcess watch({KORVEL_REMOTE_PATH, "watch", "21"});

    expectRemote({"start-all"}, 0, "start of all instruments done");
    ASSERT_TRUE(kvtest::waitFor([&] { return sim->counters(21).fetched >= 60; }, kBoundMs));
    // A read of 21 scans where the queue holds 4 (32-byte scans in 148 bytes).
    sim->control("push 22 20");
    EXPECT_FALSE(shortQueue.next("overflow 22 ").empty()) << "the lost scans were told";
    expectRemote({"stop-all"}, 0, "all instruments stopped");
    ASSERT_TRUE(kvtest::waitFor([&] { return !logs(21); }, kBoundMs));

    const long fetched = sim->counters(21).fetched;
    EXPECT_EQ(static_cast<long>(lines(dataFile(21)).size()) - kHeaderLines, fetched);
    std::vector<std::string> scans; // the CSV part of each
    for (long number = 1; number <= fetched; ++number) {
        const std::string scan = follower.next("scan 21 ");
        ASSERT_EQ(scan.rfind("scan 21 " + std::to_string(number) + " ", 0), 0u) << "scan " << number << ": " << scan;
        scans.push_back(scan.substr(scan.find(' ', scan.find(' ', 8) + 1) + 1)); // after NUMBER and REMAINING
    }

    // korvel-remote joined while the logger started: from its first scan on
    // it printed every one, after the header.
    std::vector<std::string> watched;
    std::string line;
    while ((watched.empty() || watched.back() != scans.back()) && watch.readLine(line, kBoundMs))
        watched.push_back(line);
    watch.signal(SIGTERM);
    EXPECT_EQ(watch.wait(kBoundMs), 0) << watch.errors();
    ASSERT_GE(watched.size(), 2u);
    EXPECT_EQ(watched.front(), "Time,Channel 1,DIO,Totalizer,Alarm1,Alarm2");
    const std::vector<std::string> printed(watched.begin() + 1, watched.end());
    ASSERT_LE(printed.size(), scans.size());
    EXPECT_EQ(printed, std::vector<std::string>(scans.end() - static_cast<long>(printed.size()), scans.end()));
}

TEST_F(RemoteControlTest, WithoutAUsableAddOnTheLoggerLogsAsBeforeAndSaysWhy) {
    const std::string setup = textSetup("plant.stp", {{21, "0.2"}});
    // Without the program's own library search path, so that the add-on
    // built beside it is not found by name; the communication library comes
    // from a directory of its own.
    kvtest::TempDir libraries;
    std::filesystem::create_symlink(KVLINK32_LIBRARY_PATH, libraries.path() + "/libkvlink32.so.1");
    const std::vector<std::string> withoutSearchPath{loaderOf(KORVEL32_PATH), "--inhibit-rpath", "", "--library-path",
                                                     libraries.path()};
    const struct {
        const char *name;
        std::string library;
        const char *toolbox;
        std::vector<std::string> prefix;
        std::string said;
    } cases[] = {
        {"off", QPEXT32_PATH, "False", {}, ""},
        {"missing", "", "True", withoutSearchPath, "Unable to locate Dereruded'i Ruzozov DLL!"},
        {"other version",
         QPEXT32_OTHER_VERSION_PATH,
         "True",
         {},
         "This version of the Dereruded'i Ruzozov is "
         "incompatible with this version of Korvel Logger!"},
    };
    for (const auto &run : cases) {
        useAddOn(run.library, run.toolbox);
        std::vector<std::string> arguments = run.prefix;
        arguments.insert(arguments.end(), {KORVEL32_PATH, "--headless", setup});
        logger = std::make_unique<kvtest::ChildProcess>(arguments);
        std::string status;
        ASSERT_TRUE(logger->readLine(status, kBoundMs)) << run.name << ": " << logger->errors();
        EXPECT_EQ(status.rfind("BCN 21: ", 0), 0u) << run.name << ": the setup logs at once";
        EXPECT_NE(logger->errors().find(run.said), std::string::npos) << run.name << ": " << logger->errors();
        EXPECT_FALSE(std::filesystem::exists(socketPath())) << run.name;
        EXPECT_EQ(remote({"status"}).exitCode, 2) << run.name << ": no logger answers";
        EXPECT_EQ(stopLogger(), 0) << run.name;
    }
}

} // namespace
