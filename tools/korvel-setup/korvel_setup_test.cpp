// korvel-setup run as a script runs it, on setup files written by the logger's
// own saving code, with a ccf.cfg of its own.
#include "setup/bcn_lookup.h"
#include "setup/configuration_report.h"
#include "setup/configuration_report_file.h"
#include "setup/setup_doc.h"
#include "setup/setup_template.h"

#include "ccf_file_writer.h"
#include "program_run.h"
#include "scripted_user_interface.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

using namespace korvel;

namespace {

constexpr int kCcfModelM200A = 0;
constexpr int kCcfModelM100A = 1;

using ToolRun = kvtest::ProgramRun;

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
        return kvtest::runProgram("KVLINK32_CCF_DIR='" + ccfDirectory + "' XDG_CONFIG_HOME='" + dir.path() + "' " +
                                  KORVEL_SETUP_PATH + " " + arguments);
    }

    // The setup a file holds, as the logger reads it.
    struct ReadBack {
        SetupTemplate setupTemplate;
        InstrumentTable table{setupTemplate};
        LoggerOptions options;
        PlotSettings plot;
        SetupHost host;

        const InstrumentSlot &instrument(unsigned bcn) const { return table.slot(table.find(bcn)); }
    };
    std::unique_ptr<ReadBack> readBack(const std::string &path) {
        auto read = std::make_unique<ReadBack>();
        const BcnResolver ccf = [](unsigned bcn) {
            return BcnLookup{1, bcn == 34 ? ModelCode::M200A : ModelCode::M100A};
        };
        CSetupDoc document({read->table, read->options, read->plot, read->host, ccf}, ui, formats);
        EXPECT_TRUE(document.open(path)) << path;
        return read;
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
    const auto read = readBack(computed);
    const InstrumentSetup &setup = *read->instrument(12).setup;
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

TEST_F(KorvelSetupTool, SetChannelConfiguresChannelsAsTheChannelDialogsDo) {
    const std::string out = dir.path() + "/channels.stp";
    const std::string steps[] = {
        "set-channel " + setupPath + " 12 3,13 RTD-4W --range custom --r0 100,5 --label Bath " + out,
        "set-channel " + out + " 12 4 current --range 0-100 --shunt 50 --units mA",
        "set-channel " + out + " 12 5 Thermocouple --range K --otc off",
        "set-channel " + out + " 12 25 Average --average 1-3 --label Mean",
        "set-channel " + out + " 12 26 'chan a - chan b' --chan-a 4 --chan-b 25",
        "set-channel " + out + " 34 1 VDC --range '50 V'",
    };
    std::filesystem::create_directories(dir.path() + "/korvel32");
    std::ofstream(dir.path() + "/korvel32/win.ini") << "[intl]\r\nsDecimal=,\r\nsList=;\r\n";
    for (const std::string &step : steps) {
        const ToolRun done = run(step);
        ASSERT_EQ(done.status, 0) << step << "\n" << done.err;
    }
    const auto read = readBack(out);
    const InstrumentSetup &setup = *read->instrument(12).setup;
    EXPECT_EQ(setup.channel(3).function, ChannelFunction::Rtd4W);
    EXPECT_EQ(setup.channel(3).range, RangeCode::RtdCustom385);
    EXPECT_EQ(setup.channel(3).r0, 100.5);
    EXPECT_DOUBLE_EQ(setup.channel(3).alpha, 0.00385055);
    EXPECT_EQ(setup.channel(3).label, "Bath");
    EXPECT_EQ(setup.channel(3).unitsLabel, "\u00B0C");
    EXPECT_EQ(setup.channel(13).function, ChannelFunction::Off);
    EXPECT_EQ(setup.channel(4).range, RangeCode::Current0to100mA);
    EXPECT_EQ(setup.channel(4).shunt, 50.0);
    EXPECT_EQ(setup.channel(4).unitsLabel, "mA");
    EXPECT_FALSE(setup.channel(5).openTcDetect);
    EXPECT_EQ(setup.channel(25).averageSet, channelBit(1) | channelBit(2) | channelBit(3));
    EXPECT_EQ(setup.channel(26).channelB, 25);
    EXPECT_EQ(read->instrument(34).setup->channel(1).range, RangeCode::Vdc50V);
    const std::string report = run("report " + out + " 12").out;
    EXPECT_NE(report.find("1203  RTD-4W     Custom-385"), std::string::npos) << report;
    EXPECT_NE(report.find("1226  1204 - 1225"), std::string::npos) << report;
}

TEST_F(KorvelSetupTool, SetMxbAlarmInstrumentDataFileAndGroupStoreWhatTheDialogsAccept) {
    const std::string out = dir.path() + "/configured.stp";
    const std::string steps[] = {
        "set-mxb " + setupPath + " 12 1-2 --from 4 20 0 100 " + out,
        "set-mxb " + out + " 12 3 1 0",
        "set-alarm " + out + " 12 1 --sense1 hi --value1 75 --output1 DO3 --sense2 LO --value2 -5 --trigger off",
        "set-instrument " + out +
            " 12 --triggers interval+external --interval1 0.5 --interval2 2 --rate fast "
            "--drift off --duration 1:30:00 --units fahrenheit --monitor 2 --description 'North wall'",
        "set-datafile " + out +
            " 12 --format trend --path /data/boiler.set --deadband 0.25 --batch period "
            "--batch-period 2:30 --batch-start 6:00 --rollover interval --rollover-value 2 --low-disk 500 "
            "--low-disk-action stop --comment 'night run'",
        "set-group " + out + " 12 master --wired off",
        "set-group " + out + " 34 slave",
    };
    for (const std::string &step : steps) {
        const ToolRun done = run(step);
        ASSERT_EQ(done.status, 0) << step << "\n" << done.err;
    }
    const auto read = readBack(out);
    const InstrumentSetup &setup = *read->instrument(12).setup;
    EXPECT_TRUE(setup.channel(2).mxbEnabled);
    EXPECT_EQ(setup.channel(2).m, 6.25);
    EXPECT_EQ(setup.channel(2).b, -25.0);
    EXPECT_FALSE(setup.channel(3).mxbEnabled);
    EXPECT_EQ(setup.channel(1).alarm1, (AlarmSetup{AlarmSense::Hi, 75.0, AlarmOutput{215}}));
    EXPECT_EQ(setup.channel(1).alarm2, (AlarmSetup{AlarmSense::Lo, -5.0, AlarmOutput::None}));
    EXPECT_FALSE(setup.channel(1).alarmTrigger);
    EXPECT_EQ(setup.triggerType, TriggerType::IntervalExternal);
    EXPECT_EQ(setup.interval1, 0.5);
    EXPECT_EQ(setup.interval2, 2.0);
    EXPECT_EQ(setup.readingRate, ReadingRate::Fast);
    EXPECT_FALSE(setup.driftCorrection);
    EXPECT_EQ(setup.duration, 5400u);
    EXPECT_EQ(setup.temperatureUnits, TemperatureUnits::Fahrenheit);
    EXPECT_EQ(setup.monitorChannel, 2);
    EXPECT_EQ(setup.description, "North wall");
    const DataFileSetup &file = setup.dataFile;
    EXPECT_EQ(file.format, FileFormat::TrendLink);
    EXPECT_EQ(file.path, "/data/boiler.set");
    EXPECT_EQ(file.comment, "night run");
    EXPECT_EQ(file.rolloverMode, RolloverMode::TimeInterval);
    EXPECT_EQ(file.rolloverValue, 7200u);
    EXPECT_EQ(file.lowDiskThreshold, 500u);
    EXPECT_EQ(file.lowDiskAction, 1);
    EXPECT_EQ(file.batchType, 3);
    EXPECT_EQ(file.batchPeriod, 150);
    EXPECT_EQ(file.batchStart, 360);
    EXPECT_EQ(setup.channel(1).deadband, 0.25f);
    EXPECT_EQ(read->instrument(12).role, GroupRole::Master);
    EXPECT_EQ(read->instrument(34).role, GroupRole::Slave);
    EXPECT_FALSE(read->options.wiredGroup);
}

// Each refusal is the dialog's own message, and no file is written.
TEST_F(KorvelSetupTool, TheSetCommandsRefuseWhatTheDialogsRefuse) {
    const std::string out = dir.path() + "/refused.stp";
    struct Case {
        std::string command;
        std::string arguments; // after "SETUP BCN"; the output file follows
        std::string message;
    };
    const Case cases[] = {
        {"set-channel", "13 Ohms-4W", "4W Measurements not allowed on Channels 11-20!"},
        {"set-channel", "25 Average --average 3,26",
         "Computed channels must be calculated from lower numbered channels!"},
        {"set-channel", "25 Average --average 5",
         "Channel 3405 must be defined for calculation of computed channel 3425!"},
        {"set-channel", "25 Average", "Select at least one group average channel!"},
        {"set-channel", "1 RTD-4W --r0 9", "RTD R0 value must range from 10 to 1010 Ohms!"},
        {"set-channel", "1 RTD-4W --range Custom --alpha 0.004", "RTD Alpha value must range from 0.00374 to 0.00393!"},
        {"set-channel", "1 Current --shunt 251", "Shunt Resistance value must range from 10 to 250 Ohms!"},
        {"set-channel", "2 OFF", "Must Select Function for Monitor Channel!"},
        {"set-mxb", "1 1e10 0", "Invalid Factor (M) Value!"},
        {"set-mxb", "1 1 -1e10", "Invalid Offset (B) Value!"},
        {"set-mxb", "1 --from 4 4 0 100", "Minimum and Maximum values for Input Range must be farther apart!"},
        {"set-mxb", "1 --from 0 1 -9e9 9e9", "Entered values do not generate valid Mx+B values!"},
        {"set-mxb", "1 --from 0 1 0 1e11", "Invalid Maximum Value for Scaled Range!"},
        {"set-alarm", "1 --sense1 HI --value1 1e10", "Invalid Alarm Value!"},
        {"set-instrument", "--interval1 86400.5", "Primary Interval must range from 0 to 24 hours (86400 seconds)!"},
        {"set-instrument", "--triggers alarm --interval2 -1", "Trigger Interval must range from 0 to 24 hours"},
        {"set-instrument", "--triggers none", "Select at least one trigger type!"},
        {"set-instrument", "--duration 0:0:0", "Duration Interval must be greater than zero!"},
        {"set-datafile", "--format ascii --path /data/boiler.csv", "Instrument 12 already has this filename!"},
        {"set-datafile", "--format trend --path //server/run.set",
         "Trend Link data file paths must begin with a drive letter."},
        {"set-datafile", "--format trend --path /d/r.set --deadband -1", "Invalid Value!"},
        {"set-datafile", "--format binary --path /d/r.bin --rollover size --rollover-value 100",
         "File Size must be between 200 and 100000!"},
        {"set-datafile", "--format binary --path /d/r.bin --rollover hour --rollover-value 24",
         "Hour of Day must be between 0 and 23!"},
        {"set-datafile", "--format binary --path /d/r.bin --rollover interval --rollover-value 0",
         "Time Interval must be between 1 and 99!"},
        {"set-datafile", "--format binary --path /d/r.bin --low-disk 100001",
         "Min. Free Disk Space must be between 0 and 100000!"},
        {"set-datafile", "--format trend --path /d/r.set --batch period --batch-period 0:0",
         "Time Interval must range from 1 minute to 999 hours and 99 minutes!"},
        {"set-datafile", "--format trend --path /d/r.set --batch period --batch-period 1:0 --batch-start 23:60",
         "Time of day must be entered as 0 to 23 hours and 0 to 59 minutes!"},
        // What the dialogs would not even offer.
        {"set-channel", "1 RTD-2W", "the functions of channels 1-20 are OFF, VDC, VAC"},
        {"set-channel", "1 VDC --range '150/300 V'", "the ranges of VDC are 90 mV, 300 mV, 3 V, 30 V, 50 V, Auto"},
        {"set-channel", "1 VDC --shunt 20", "--shunt does not apply to VDC"},
        {"set-channel", "1-3,21 VDC", "channels 1-20 and 21-30 are configured apart"},
        {"set-alarm", "1 --value2 3", "--value2 does not apply to alarm 2 while it is OFF"},
        {"set-instrument", "--interval2 3", "--interval2 applies only with the external or alarm trigger"},
        {"set-datafile", "--format binary", "a data file needs a path (--path)"},
        {"set-datafile", "--format ascii --path /d/r.csv --deadband 1", "--deadband applies only to a Trend Link"},
    };
    // Instrument 34 (an M200A) is the one changed, and its monitor is channel 2.
    ASSERT_EQ(run("set-instrument " + setupPath + " 34 --monitor 2").status, 0);
    const std::string before = fileText(setupPath);
    for (const Case &c : cases) {
        const ToolRun refused = run(c.command + " " + setupPath + " 34 " + c.arguments + " " + out);
        EXPECT_EQ(refused.status, 1) << c.arguments;
        EXPECT_NE(refused.err.find("korvel-setup: " + c.message), std::string::npos)
            << c.arguments << ": " << refused.err;
        EXPECT_FALSE(std::ifstream(out).good()) << c.arguments;
    }
    EXPECT_EQ(fileText(setupPath), before);
}

// Trend Link keeps data sets by name: two paths of one name, in any
// directory and either case, would write into one data set.
TEST_F(KorvelSetupTool, SetDataFileRefusesATrendLinkPathOfAnotherInstrumentsDataSet) {
    const std::string first = dir.path() + "/first.stp";
    const std::string second = dir.path() + "/second.stp";
    ASSERT_EQ(run("set-datafile " + setupPath + " 12 --format trend --path /data/Plant.set " + first).status, 0);

    const ToolRun refused = run("set-datafile " + first + " 34 --format trend --path /other/plant.set " + second);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Instrument 12 already has this filename!"), std::string::npos) << refused.err;
    EXPECT_EQ(run("set-datafile " + first + " 34 --format trend --path /data/plant2.set " + second).status, 0);
}

TEST_F(KorvelSetupTool, SetGroupDemotesAMasterOnlyWithYes) {
    ASSERT_EQ(run("set-group " + setupPath + " 12 master").status, 0);
    const ToolRun declined = run("set-group " + setupPath + " 34 master");
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.err.find("Current Master instrument will become Async.  Continue? [No]"), std::string::npos)
        << declined.err;
    EXPECT_NE(declined.err.find("--yes"), std::string::npos);
    EXPECT_EQ(readBack(setupPath)->instrument(12).role, GroupRole::Master);

    const ToolRun accepted = run("set-group " + setupPath + " 34 master --yes");
    EXPECT_EQ(accepted.status, 0) << accepted.err;
    const auto read = readBack(setupPath);
    EXPECT_EQ(read->instrument(12).role, GroupRole::Async);
    EXPECT_EQ(read->instrument(34).role, GroupRole::Master);
    EXPECT_EQ(run("set-group " + setupPath + " 34 slave").err,
              "korvel-setup: a Slave needs a Master that is another instrument\n");
}

TEST_F(KorvelSetupTool, SetQueueStoresOnlyASizeTheToolboxSettingsTake) {
    const std::string before = fileText(setupPath);
    const ToolRun refused = run("set-queue " + setupPath + " 12 147");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "korvel-setup: Queue size must range between 148 and 65440 bytes, or be 0!\n");
    EXPECT_EQ(fileText(setupPath), before);

    const std::string out = dir.path() + "/queued.stp";
    ASSERT_EQ(run("set-queue " + setupPath + " 12 4096 " + out).status, 0);
    EXPECT_EQ(readBack(out)->instrument(12).setup->toolboxQueueSize, 4096u);
    EXPECT_EQ(readBack(out)->instrument(34).setup->toolboxQueueSize, 0u);
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
