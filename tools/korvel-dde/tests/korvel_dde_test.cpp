// korvel-dde run as a user or a script runs it, against a headless logger
// logging a simulated instrument: what it prints and how it exits.
#include <child_process.h>
#include <general_network_instruments.h>
#include <live_values_client.h>
#include <logger_directories.h>
#include <sim_process.h>
#include <temp_dir.h>
#include <wait_for.h>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr int kBoundMs = 30000;

class KorvelDdeTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim = kvtest::startGeneralNetworkInstruments({7}, home.path());
        sim->control("value 7 5 1.25");
    }

    // Logs instrument 7, channels 1 and 5, until interrupted; returns once it serves.
    void startLogger() {
        const std::string setup = home.path() + "/seven.stp";
        std::ofstream(setup, std::ios::binary) << "[KorLogger]\r\nSimMode=No\r\n[Korvel1]\r\nBCN=7\r\n"
                                                  "TriggerType=Intvl\r\nIntvls=0.1,0.1\r\nC1=VDC,4,\r\nC5=VDC,4,\r\n";
        logger = std::make_unique<kvtest::ChildProcess>(std::vector<std::string>{KORVEL32_PATH, "--headless", setup});
        kvtest::LiveValuesClient waiting("korvel32");
    }

    static kvtest::ProgramResult dde(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), KORVEL_DDE_PATH);
        return kvtest::runProgram(arguments, kBoundMs);
    }

    kvtest::TempDir home;
    kvtest::LoggerDirectories directories{home.path()};
    std::unique_ptr<kvtest::SimProcess> sim;
    std::unique_ptr<kvtest::ChildProcess> logger;
};

TEST_F(KorvelDdeTest, TopicsAndRequestsPrintTheValueOrSayWhyNot) {
    const kvtest::ProgramResult nobody = dde({"topics"});
    EXPECT_EQ(nobody.exitCode, 2);
    EXPECT_EQ(nobody.errors, "korvel-dde: no logger is running that serves live values as korvel32\n");

    startLogger();
    const kvtest::ProgramResult topics = dde({"topics"});
    EXPECT_EQ(topics.exitCode, 0) << topics.errors;
    EXPECT_EQ(topics.output, "System\nBCN07\n");

    EXPECT_TRUE(kvtest::waitFor([&] { return dde({"request", "bcn07", "C05"}).output == "1.25000\n"; }, kBoundMs));
    EXPECT_EQ(dde({"request", "System", "Formats"}).output, "TEXT\n");

    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string errors;
    } failures[] = {
        {{"request", "BCN7", "c5"}, 1, "korvel-dde: the logger refuses the topic BCN7 (System, or BCN01 to BCN99)\n"},
        {{"request", "BCN07", "c31"},
         1,
         "korvel-dde: the logger refuses the item c31 of BCN07 (ELDATETIME, ALARM1, ALARM2, DIO, TOTALIZER or c1 to "
         "c30)\n"},
        {{"advise", "BCN07", "c0"},
         1,
         "korvel-dde: the logger refuses the item c0 of BCN07 (ELDATETIME, ALARM1, ALARM2, DIO, TOTALIZER or c1 to "
         "c30)\n"},
        {{"--service", "elsewhere", "topics"},
         2,
         "korvel-dde: no logger is running that serves live values as elsewhere\n"},
    };
    for (const auto &failure : failures) {
        const kvtest::ProgramResult result = dde(failure.arguments);
        EXPECT_EQ(result.exitCode, failure.exitCode) << failure.arguments[0];
        EXPECT_EQ(result.errors, failure.errors);
        EXPECT_EQ(result.output, "");
    }
    const kvtest::ProgramResult usage = dde({"request", "BCN07"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.errors.starts_with("korvel-dde: wrong arguments for request\nusage: korvel-dde")) << usage.errors;
    // A bound beyond a day would overflow its milliseconds and wait forever.
    const kvtest::ProgramResult endless = dde({"--timeout", "3000000", "topics"});
    EXPECT_EQ(endless.exitCode, 2);
    EXPECT_TRUE(endless.errors.starts_with("korvel-dde: bad value for --timeout\n")) << endless.errors;
}

TEST_F(KorvelDdeTest, AdviseWritesALineAnUpdateUntilInterruptedOrTheLoggerEnds) {
    startLogger();
    const std::string time = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})";
    std::string line;

    kvtest::ChildProcess csv({KORVEL_DDE_PATH, "advise", "--csv", "BCN07", "c5", "C05", "ELDATETIME"});
    ASSERT_TRUE(csv.readLine(line, kBoundMs));
    EXPECT_EQ(line, "time,c5,ELDATETIME");
    for (int row = 0; row < 2; ++row) {
        ASSERT_TRUE(csv.readLine(line, kBoundMs)) << csv.errors();
        EXPECT_TRUE(std::regex_match(line, std::regex(time + R"(,1\.25000,\d+\.\d{9})"))) << line;
    }
    csv.signal(SIGINT);
    EXPECT_EQ(csv.wait(kBoundMs), 0) << csv.errors();

    kvtest::ChildProcess plain({KORVEL_DDE_PATH, "advise", "BCN07", "c5", "DIO"});
    ASSERT_TRUE(plain.readLine(line, kBoundMs)) << plain.errors();
    EXPECT_TRUE(std::regex_match(line, std::regex(time + " c5=1.25000 DIO=0"))) << line;
    logger->signal(SIGINT);
    EXPECT_EQ(logger->wait(kBoundMs), 0);
    EXPECT_EQ(plain.wait(kBoundMs), 0);
    EXPECT_NE(plain.errors().find("the logger ended the conversation"), std::string::npos) << plain.errors();
}

} // namespace
