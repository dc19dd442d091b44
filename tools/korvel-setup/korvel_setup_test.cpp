// korvel-setup run as a script runs it, on setup files written by the logger's
// own saving code, with a ccf.cfg of its own.
#include "setup/bcn_lookup.h"
#include "setup/configuration_report.h"
#include "setup/configuration_report_file.h"
#include "setup/setup_doc.h"
#include "setup/setup_template.h"

#include "ccf_file_writer.h"
#include "scripted_user_interface.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace korvel;

namespace {

constexpr int kCcfModelM200A = 0;
constexpr int kCcfModelM100A = 1;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string fileText(const std::string &path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// The logger's windows when the setup was saved: the plot window stood here.
class PlacedPlotWindow : public SetupHost {
public:
    WindowRect plotWindowRect() const override { return {-4, 5, 300, 200}; }
};

class KorvelSetupTool : public ::testing::Test {
protected:
    KorvelSetupTool() {
        kvtest::writeCcfFile(dir.path(), 0, 5000,
                             {{12, "127.0.0.12", kCcfModelM100A}, {34, "127.0.0.34", kCcfModelM200A}});
        setupTemplate.complete("Label", "VDC");
        instruments.add(1, 12, ModelCode::M100A);
        instruments.add(2, 34, ModelCode::M200A);
        InstrumentSetup &first = *instruments.slot(1).setup;
        first.description = "Boiler inlet";
        first.stopAfterDuration = true;
        first.channel(1).range = RangeCode::Vdc150_300V;
        first.channel(2).alarm1 = {AlarmSense::Hi, 2.0, AlarmOutput::Do0};
        first.dataFile.enabled = true;
        first.dataFile.path = "/data/boiler.csv";
        options.mainWindow = {10, 20, 630, 470};
        PlacedPlotWindow windows;
        CSetupDoc document({instruments, options, plot, windows, nullptr}, ui, formats);
        EXPECT_TRUE(document.save(setupPath));
    }

    ToolRun run(const std::string &arguments) const { return runWithCcfIn(dir.path(), arguments); }

    ToolRun runWithCcfIn(const std::string &ccfDirectory, const std::string &arguments) const {
        const std::string errPath = dir.path() + "/stderr.txt";
        const std::string command = "KVLINK32_CCF_DIR='" + ccfDirectory + "' XDG_CONFIG_HOME='" + dir.path() + "' " +
                                    KORVEL_SETUP_PATH + " " + arguments + " 2>'" + errPath + "'";
        ToolRun result;
        FILE *pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        char buffer[4096];
        std::size_t count = 0;
        while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, count);
        const int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = fileText(errPath);
        return result;
    }

    std::string expectedReport(int slot) const {
        return configurationReportText(buildConfigurationReport(instruments, slot, options, formats));
    }

    kvtest::TempDir dir;
    const std::string setupPath = dir.path() + "/plant.stp";
    SetupTemplate setupTemplate;
    InstrumentTable instruments{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    SetupHost host;
    RegionalFormats formats;
    ScriptedUserInterface ui;
};

TEST_F(KorvelSetupTool, ReportPrintsTheConfigurationTextOfTheSetupsInstruments) {
    const ToolRun one = run("report " + setupPath + " 12");
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, expectedReport(1));
    EXPECT_NE(one.out.find("Description:       Boiler inlet\r\n"), std::string::npos);
    EXPECT_NE(one.out.find("1201  VDC        300 V"), std::string::npos);

    const ToolRun all = run("report " + setupPath);
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, expectedReport(1) + "\r\n" + expectedReport(2));

    const ToolRun missing = run("report " + setupPath + " 55");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("55"), std::string::npos);
}

TEST_F(KorvelSetupTool, LoadMxbSavesOnlyAnAcceptedFile) {
    const std::string scaled = dir.path() + "/scaled.stp";
    std::ofstream(dir.path() + "/good.txt") << "2 2.5 -1\r\n";
    std::ofstream(dir.path() + "/bad.txt") << "2;2.5;-1\r\n";

    const ToolRun refused = run("load-mxb " + setupPath + " 12 " + dir.path() + "/bad.txt " + scaled);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Mx+B Load File Is Invalid!\r\n\"2;2.5;-1...\""), std::string::npos) << refused.err;
    EXPECT_FALSE(std::ifstream(scaled).good());

    const ToolRun loaded = run("load-mxb " + setupPath + " 12 " + dir.path() + "/good.txt " + scaled);
    EXPECT_EQ(loaded.status, 0) << loaded.err;
    InstrumentSetup &first = *instruments.slot(1).setup;
    first.channel(2).mxbEnabled = true;
    first.channel(2).m = 2.5;
    first.channel(2).b = -1.0;
    EXPECT_EQ(run("report " + scaled + " 12").out, expectedReport(1));
}

TEST_F(KorvelSetupTool, SetEquationStoresTheChannelsTheEquationReadsFromBitOne) {
    const std::string computed = dir.path() + "/computed.stp";
    const ToolRun set = run("set-equation " + setupPath + " 12 21 '(C1+C2)/2' " + computed);
    ASSERT_EQ(set.status, 0) << set.err;
    SetupTemplate readTemplate;
    InstrumentTable read{readTemplate};
    LoggerOptions readOptions;
    const BcnResolver ccf = [](unsigned) { return BcnLookup{1, ModelCode::M100A}; };
    CSetupDoc document({read, readOptions, plot, host, ccf}, ui, formats);
    ASSERT_TRUE(document.open(computed));
    const InstrumentSetup &setup = *read.slot(1).setup;
    EXPECT_EQ(setup.channel(21).function, ChannelFunction::Equation);
    EXPECT_EQ(setup.channel(21).unitsLabel, "Equ");
    EXPECT_EQ(setup.equation(21), "(C1+C2)/2");
    EXPECT_EQ(setup.channel(21).equationSet, channelBit(1) | channelBit(2));
    EXPECT_EQ(setup.channel(21).compiledSize, 14);
    EXPECT_NE(run("report " + computed + " 12").out.find("1221  Equation"), std::string::npos);
}

// What the channel configuration refuses is refused with its message, and
// nothing is saved.
TEST_F(KorvelSetupTool, SetEquationRefusesWhatTheChannelConfigurationRefuses) {
    const std::string computed = dir.path() + "/computed.stp";
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"22 'C25*2'", "Computed channels must be calculated from lower numbered channels!"},
        {"22 C22+1", "Computed channels must be calculated from lower numbered channels!"},
        {"22 C1-C4", "Channel 1204 must be defined for calculation of computed channel 1222!"},
        {"21 '(C1+C2'", "korvel-setup: Missing right parenthesis!\n  (C1+C2\n        ^\n"},
        {"21 'C1*3e40'", "korvel-setup: Constant too large!\n  C1*3e40\n     ^\n"},
        {"20 C1", "an equation channel is one of 21 to 30"},
        {"21x C1", "an equation channel is one of 21 to 30"},
        {"21 " + std::string(101, '1'), "at most 100 characters"},
    };
    for (const Case &c : cases) {
        const ToolRun refused = run("set-equation " + setupPath + " 12 " + c.arguments + " " + computed);
        EXPECT_EQ(refused.status, 1) << c.arguments;
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << c.arguments << ": " << refused.err;
        EXPECT_FALSE(std::ifstream(computed).good()) << c.arguments;
    }
}

// Nothing of the setup is lost on the way, the windows' places included.
TEST_F(KorvelSetupTool, SaveAsWritesTheRecordFormUnchanged) {
    const std::string copy = dir.path() + "/copy.stp";
    EXPECT_EQ(run("save-as " + setupPath + " " + copy).status, 0);
    EXPECT_EQ(fileText(copy), fileText(setupPath));
}

TEST_F(KorvelSetupTool, WithoutCcfNothingIsDoneAndTheSetupKeepsItsInstruments) {
    const std::string before = fileText(setupPath);
    const kvtest::TempDir noCcf;
    const ToolRun refused = runWithCcfIn(noCcf.path(), "save-as " + setupPath + " " + setupPath);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("ccf.cfg cannot be read"), std::string::npos) << refused.err;
    EXPECT_EQ(fileText(setupPath), before);
}

TEST_F(KorvelSetupTool, UsageErrorsExitWithTwo) {
    const ToolRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("korvel-setup report SETUP [BCN]"), std::string::npos);
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("report").status, 2);
    EXPECT_EQ(run("report " + setupPath + " 100").status, 2);
    EXPECT_EQ(run("unknown " + setupPath).status, 2);
    EXPECT_EQ(run("report " + dir.path() + "/none.stp").status, 1);
}

} // namespace
