// korvel32 --headless end to end: the program logs two simulated instruments
// from a text setup for a while and stops cleanly.
#include <ccf_file_writer.h>
#include <general_network_instruments.h>
#include <sim_process.h>
#include <temp_dir.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wait_for.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kHeaderLines = 6;
constexpr int kGeneralNetwork = 4; // ccf.cfg's network mode
constexpr int kExitBoundMs = 30000;

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim = kvtest::startGeneralNetworkInstruments({std::begin(kBcns), std::end(kBcns)}, ccfDir.path());
        ::setenv("KVLINK32_CCF_DIR", ccfDir.path().c_str(), 1);
        ::setenv("KORVEL32_HOME", home.path().c_str(), 1);
        // The logger's live-values socket goes here, apart from other loggers'.
        ::setenv("XDG_RUNTIME_DIR", home.path().c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("KVLINK32_CCF_DIR");
        ::unsetenv("KORVEL32_HOME");
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    std::string dataFile(int bcn) const { return home.path() + "/bcn" + std::to_string(bcn) + ".csv"; }

    std::string writeSetup() const {
        std::ostringstream setup;
        setup << "[KorLogger]\r\nSimMode=No\r\n";
        for (std::size_t i = 0; i < std::size(kBcns); ++i) {
            setup << "[Korvel" << i + 1 << "]\r\nBCN=" << kBcns[i] << "\r\nTriggerType=Intvl\r\nIntvls=0.1,0.1\r\n"
                  << "DataFileEnabled=Yes\r\nDataFile=" << dataFile(kBcns[i]) << "\r\nFileFormat=ASCII\r\n"
                  << "C1=VDC,4,\r\n";
        }
        const std::string path = home.path() + "/two.stp";
        std::ofstream(path, std::ios::binary) << setup.str();
        return path;
    }

    // Starts the program with its standard output and error going to a file.
    void launch(const std::vector<std::string> &arguments) {
        std::vector<std::string> argv{KORVEL32_PATH, "--headless"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<char *> pointers;
        for (std::string &argument : argv) pointers.push_back(argument.data());
        pointers.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        ASSERT_EQ(posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }

    // The program's exit status (-1 when it did not exit in time); its output
    // is kept in output.
    int exitStatus() {
        int status = 0;
        const bool exited = kvtest::waitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, kExitBoundMs);
        if (!exited) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        }
        std::ifstream in(outputPath());
        output.assign(std::istreambuf_iterator<char>(in), {});
        return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int runHeadless(const std::vector<std::string> &arguments) {
        launch(arguments);
        return exitStatus();
    }

    std::string outputPath() const { return home.path() + "/output.txt"; }

    // No scan was lost or left behind: every one produced was fetched and
    // written as one line after the file's header.
    void expectEveryScanLogged(int bcn) {
        const kvtest::ScanCounters counted = sim->counters(bcn);
        const long produced = counted.produced;
        EXPECT_GT(produced, 0) << bcn;
        EXPECT_EQ(counted.fetched, produced) << bcn;
        EXPECT_EQ(static_cast<long>(lines(dataFile(bcn)).size()) - kHeaderLines, produced) << bcn;
    }

    static std::vector<std::string> lines(const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        std::vector<std::string> result;
        for (std::string line; std::getline(in, line);) result.push_back(line);
        return result;
    }

    static constexpr int kBcns[] = {11, 12};
    kvtest::TempDir ccfDir;
    kvtest::TempDir home;
    std::unique_ptr<kvtest::SimProcess> sim;
    pid_t pid = 0;
    std::string output;
};

TEST_F(HeadlessTest, ASetupLogsForTheDurationIntoItsDataFilesWithoutLosingAScan) {
    ASSERT_EQ(runHeadless({writeSetup(), "--duration", "2"}), 0) << output;
    EXPECT_TRUE(std::filesystem::exists(home.path() + "/korvel32.ini")) << "settings went beside the program";
    for (const int bcn : kBcns) {
        EXPECT_GT(lines(dataFile(bcn)).size(), static_cast<std::size_t>(kHeaderLines + 10))
            << "about 20 scans in 2 s, " << bcn;
        EXPECT_NE(output.find("BCN " + std::to_string(bcn) + ": "), std::string::npos) << "a status line";
        expectEveryScanLogged(bcn);
    }
}

TEST_F(HeadlessTest, ATerminationSignalStopsTheRunsAndDrainsThem) {
    launch({writeSetup()});
    ASSERT_TRUE(kvtest::waitFor([&] { return lines(dataFile(kBcns[0])).size() > kHeaderLines + 2; }, 15000));
    ::kill(pid, SIGTERM);
    ASSERT_EQ(exitStatus(), 0) << output;
    for (const int bcn : kBcns) expectEveryScanLogged(bcn);
}

TEST_F(HeadlessTest, ASetupThatCannotOpenItsDataFileFailsTheStart) {
    const std::string setup = writeSetup();
    std::filesystem::create_directory(dataFile(kBcns[0])); // a directory where the file should go
    EXPECT_NE(runHeadless({setup, "--duration", "1"}), 0) << output;
    EXPECT_NE(output.find("Instrument 11:"), std::string::npos) << "the failure was shown\n" << output;
    EXPECT_EQ(sim->counters(kBcns[1]).produced, 0) << "Start All stopped at the failure";
}

// Without a setup, /G logs the instrument start-up finds in ccf.cfg; with none
// there is nothing to log, and the program says so instead of waiting forever.
TEST_F(HeadlessTest, StartAllWithNoInstrumentToLogFailsAtOnce) {
    kvtest::writeCcfFile(ccfDir.path(), kGeneralNetwork, sim->basePort(), {});
    EXPECT_EQ(runHeadless({"/G"}), 1) << output;
    EXPECT_NE(output.find("the setup holds no instrument to log"), std::string::npos) << output;
}

TEST_F(HeadlessTest, ACommandLineItCannotUseIsRefusedWithTheUsage) {
    for (const std::vector<std::string> &arguments : std::vector<std::vector<std::string>>{
             {"--frobnicate"}, {"--answer", "maybe"}, {"--duration", "-1", "/G"}, {"--duration", "5"}}) {
        EXPECT_EQ(runHeadless(arguments), 2) << arguments[0];
        EXPECT_NE(output.find("usage: korvel32 --headless"), std::string::npos);
    }
    EXPECT_NE(output.find("nothing to log"), std::string::npos) << "neither a setup nor /G";
}

} // namespace
