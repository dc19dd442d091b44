// A setup configured by korvel-setup alone, logged by korvel32 --headless
// against simulated instruments: the configuration reaches the data file and
// the configuration report.
#include <general_network_instruments.h>
#include <program_run.h>
#include <sim_process.h>
#include <temp_dir.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kCcfModelM200A = 0;
constexpr int kCcfModelM100A = 1;

class ConfiguredLogging : public ::testing::Test {
protected:
    void SetUp() override {
        sim = kvtest::startGeneralNetworkModels({{12, kCcfModelM100A}, {34, kCcfModelM200A}}, home.path());
    }

    // Runs a program with the test's ccf.cfg and settings.
    kvtest::ProgramRun run(const std::string &program, const std::string &arguments) const {
        return kvtest::runProgram("KVLINK32_CCF_DIR='" + home.path() + "' KORVEL32_HOME='" + home.path() +
                                  "' XDG_CONFIG_HOME='" + home.path() + "' XDG_RUNTIME_DIR='" + home.path() + "' " +
                                  program + " " + arguments);
    }

    void configure(const std::string &arguments) const {
        const kvtest::ProgramRun done = run(KORVEL_SETUP_PATH, arguments);
        ASSERT_EQ(done.status, 0) << arguments << "\n" << done.err;
    }

    kvtest::TempDir home;
    std::unique_ptr<kvtest::SimProcess> sim;
};

TEST_F(ConfiguredLogging, TheConfigurationShowsInTheDataFileAndTheReport) {
    const std::string text = home.path() + "/plant.txt";
    const std::string setup = home.path() + "/plant.stp";
    const std::string data = home.path() + "/plant.csv";
    std::ofstream(text, std::ios::binary) << "[KorLogger]\r\nStatusOnStart=No\r\n[Korvel1]\r\nBCN=12\r\n"
                                             "[Korvel2]\r\nBCN=34\r\n";
    configure("save-as " + text + " " + setup);
    configure("set-channel " + setup + " 12 1-2 VDC --range 30v --units V --label Supply");
    configure("set-channel " + setup + " 12 3 Current --range 4-20 --shunt 250 --label Flow");
    configure("set-channel " + setup + " 12 25 Average --average 1-2 --label Mean");
    configure("set-channel " + setup + " 34 1 Thermocouple --range K --label Flue");
    configure("set-mxb " + setup + " 12 1 --from 0 10 0 100");
    configure("set-alarm " + setup + " 12 2 --sense1 HI --value1 1e9 --output1 DO3");
    configure("set-instrument " + setup + " 12 --interval1 0.2 --monitor 25 --description 'Boiler house'");
    configure("set-datafile " + setup + " 12 --format ascii --path " + data +
              " --comment 'north wall' --mode overwrite");
    configure("set-group " + setup + " 12 master --wired off");
    configure("set-group " + setup + " 34 slave");

    const kvtest::ProgramRun logged = run(KORVEL32_PATH, "--headless " + setup + " --duration 2");
    ASSERT_EQ(logged.status, 0) << logged.out << logged.err;

    std::ifstream file(data, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    ASSERT_GT(lines.size(), 6u) << "a header and scans";
    EXPECT_EQ(lines[2], "\"north wall\"\r");
    EXPECT_EQ(lines[3], "9, 5\r") << "the Master's time, 4 channels and status; the Slave's channel and status";
    EXPECT_NE(lines[4].find("\"TIME\", \"V\", \"V\", \"Percent\", \"Avg\", \"DIO\""), std::string::npos) << lines[4];
    EXPECT_NE(lines[4].find("\"ALARM2\", \"\u00B0C\", \"DIO\""), std::string::npos) << lines[4];
    EXPECT_NE(lines[5].find("\"1201\", \"1202\", \"1203\", \"1225\", \"12DIO\""), std::string::npos) << lines[5];
    EXPECT_NE(lines[5].find("\"3401\", \"34DIO\""), std::string::npos) << lines[5];

    const kvtest::ProgramRun report = run(KORVEL_SETUP_PATH, "report " + setup);
    ASSERT_EQ(report.status, 0) << report.err;
    for (const char *expected :
         {"INSTRUMENT CONFIGURATION - 12 (Master)", "Boiler house", "Interval 1:        0.200 sec",
          "Monitor Chan:      1225", "Data File:         ", "1201  VDC        30 V",
          "1202  VDC        30 V         HI->DO3", "1203  Current    4-20 mA", "1225  Average",
          "INSTRUMENT CONFIGURATION - 34 (Slave)", "3401  TC         K"}) {
        EXPECT_NE(report.out.find(expected), std::string::npos) << expected << "\n" << report.out;
    }
    EXPECT_NE(report.out.find(data), std::string::npos);
}

} // namespace
