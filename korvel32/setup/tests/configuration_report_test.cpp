#include "setup/configuration_report.h"
#include "setup/configuration_report_file.h"

#include "scripted_user_interface.h"
#include "setup/setup_template.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace korvel;

namespace {

class ConfigurationReportTest : public ::testing::Test {
protected:
    ConfigurationReportTest() { table.add(1, 12, ModelCode::M100A); }

    InstrumentSetup &setup(int slot = 1) { return *table.slot(slot).setup; }

    ConfigurationReport build(int slot = 1) { return buildConfigurationReport(table, slot, options, formats); }

    std::string value(const std::string &label, int slot = 1) {
        const ConfigurationReport report = build(slot);
        for (const ReportPair &pair : report.pairs) {
            if (pair.label == label) return pair.value;
        }
        ADD_FAILURE() << "no line " << label;
        return {};
    }

    // A group of Master 12 (slot 1) and Slave 34 (slot 2).
    void makeGroup() {
        table.add(2, 34, ModelCode::M200A);
        table.setRole(1, GroupRole::Master);
        table.setRole(2, GroupRole::Slave);
        setup(1).triggerType = TriggerType::IntervalAlarm;
        setup(1).interval1 = 2.5;
        setup(1).dataFile.enabled = true;
        setup(1).dataFile.path = "/data/master.csv";
    }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    RegionalFormats formats;
};

TEST_F(ConfigurationReportTest, AnInstrumentWithoutChannelsHasTheHeaderLinesOnly) {
    const std::string expected =
        "INSTRUMENT CONFIGURATION - 12\r\n"
        "\r\n"
        "Description:       (None)\r\n"
        "Model:             M100A\r\n"
        "Trigger Type:      Interval\r\n"
        "Interval 1:        1.000 sec\r\n"
        "Interval 2:        NA\r\n"
        "Reading Rate:      Slow (High Res.)\r\n"
        "Drift Correction:  Yes\r\n"
        "Duration:          NA\r\n"
        "Temp Units:        Celsius\r\n"
        "Monitor Chan:      None\r\n"
        "Total Debounce:    Yes\r\n"
        "Data File:         None\r\n"
        "File Mode:         NA\r\n"
        "File Format:       NA\r\n"
        "\r\n"
        "Chan  Function   Range        Alarm 1      Alarm 2      Trg    Mx+B   Units        Label\r\n";
    const ConfigurationReport report = build();
    EXPECT_EQ(report.rowCount, 0);
    EXPECT_EQ(configurationReportText(report), expected);
}

TEST_F(ConfigurationReportTest, LaysOutAnalogAndComputedRows) {
    ChannelSetup &vdc = setup().channel(1);
    vdc.function = ChannelFunction::Vdc;
    vdc.range = RangeCode::Vdc3V;
    vdc.unitsLabel = "VDC";
    vdc.label = "Inlet";
    ChannelSetup &difference = setup().channel(21);
    difference.function = ChannelFunction::ChanAMinusChanB;
    difference.channelA = 1;
    difference.channelB = 1;
    difference.unitsLabel = "Diff";
    difference.label = "Drop";
    ChannelSetup &thermocouple = setup().channel(2);
    thermocouple.function = ChannelFunction::Thermocouple;
    thermocouple.range = RangeCode::TcK;
    thermocouple.unitsLabel = kCelsiusUnitsLabel; // two bytes for the degree sign, one column
    thermocouple.label = "Stack";

    const std::string text = configurationReportText(build());
    EXPECT_NE(
        text.find("\r\n1201  VDC        3 V          OFF          OFF          NA     OFF    VDC          Inlet\r\n"
                  "1202  TC         K            OFF          OFF          NA     OFF    \u00B0C           Stack\r\n"
                  "1221  1201 - 1201             OFF          OFF          NA     OFF    Diff         Drop\r\n"),
        std::string::npos)
        << text;
}

TEST_F(ConfigurationReportTest, FunctionAndRangeColumns) {
    struct Case {
        int channel;
        ChannelFunction function;
        RangeCode range;
        const char *functionText;
        const char *rangeText;
    };
    const Case cases[] = {
        {1, ChannelFunction::Vdc, RangeCode::Vdc150_300V, "VDC", "300 V"},
        {11, ChannelFunction::Vac, RangeCode::Vac150_300V, "VAC", "300 V"},
        {2, ChannelFunction::Vdc, RangeCode::Vdc150_300V, "VDC", "150 V"},
        {3, ChannelFunction::Thermocouple, RangeCode::TcK, "TC", "K"},
        {4, ChannelFunction::Ohms4W, RangeCode::Ohms300k, "Ohms-4W", "300 kOhms"},
        {22, ChannelFunction::ChanAMinusAverage, RangeCode::Off, "1203 - Average", ""},
        {23, ChannelFunction::Average, RangeCode::Off, "Average", ""},
    };
    for (const Case &c : cases) {
        ChannelSetup &channel = setup().channel(c.channel);
        channel.function = c.function;
        channel.range = c.range;
        channel.channelA = 3;
    }
    const ConfigurationReport report = build();
    EXPECT_EQ(report.rowCount, 7);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.channel);
        ASSERT_TRUE(report.rowShown(c.channel));
        EXPECT_EQ(report.row(c.channel)[1], c.functionText);
        EXPECT_EQ(report.row(c.channel)[2], c.rangeText);
    }
    EXPECT_FALSE(report.rowShown(5));
}

TEST_F(ConfigurationReportTest, AlarmTriggerAndScalingColumns) {
    ChannelSetup &channel = setup().channel(1);
    channel.function = ChannelFunction::Vdc;
    channel.alarm1 = {AlarmSense::Hi, 5.0, static_cast<AlarmOutput>(codeValue(AlarmOutput::Do0) + 3)};
    channel.mxbEnabled = true;
    setup().channel(2) = channel;
    setup().channel(2).alarm1.output = AlarmOutput::None;
    setup().channel(2).alarmTrigger = false;

    ConfigurationReport report = build();
    EXPECT_EQ(report.row(1)[3], "HI->DO3");
    EXPECT_EQ(report.row(1)[4], "OFF");
    EXPECT_EQ(report.row(1)[5], "NA"); // the trigger has no alarm part
    EXPECT_EQ(report.row(1)[6], "ON");

    setup().triggerType = TriggerType::IntervalAlarm;
    report = build();
    EXPECT_EQ(report.row(1)[5], "ON");
    EXPECT_EQ(report.row(2)[3], "HI");
    EXPECT_EQ(report.row(2)[5], "OFF");
}

TEST_F(ConfigurationReportTest, ScanLinesFollowTheTriggerType) {
    setup().triggerType = TriggerType::ExternalAlarm;
    setup().interval2 = 0.25;
    EXPECT_EQ(value("Interval 1:"), "NA");
    EXPECT_EQ(value("Interval 2:"), "0.250 sec");
    formats.decimalSymbol = ',';
    EXPECT_EQ(value("Interval 2:"), "0,250 sec");
    EXPECT_EQ(value("Trigger Type:"), "External + Alarm");
}

TEST_F(ConfigurationReportTest, DurationIsShownAsHoursMinutesSeconds) {
    setup().stopAfterDuration = true;
    setup().duration = 3600;
    EXPECT_EQ(value("Duration:"), "01:00:00");
    setup().duration = 1000 * 3600 + 61;
    formats.timeSeparator = '.';
    EXPECT_EQ(value("Duration:"), "999.61.01");
}

TEST_F(ConfigurationReportTest, DataFileLines) {
    DataFileSetup &file = setup().dataFile;
    file.enabled = true;
    file.path = "/data/run.bin";
    file.format = FileFormat::FastBinary;
    file.mode = FileMode::Overwrite;
    EXPECT_EQ(value("Data File:"), "/data/run.bin");
    EXPECT_EQ(value("File Mode:"), "Overwrite");
    EXPECT_EQ(value("File Format:"), "Fast Binary");

    file.format = FileFormat::TrendLink;
    file.batchType = 1;
    file.batchDioLine = 6;
    EXPECT_EQ(value("File Mode:"), "NA");
    EXPECT_EQ(value("File Format:"), "Trend Link, batching: DIO 6");
    file.batchType = 3;
    file.batchPeriod = 90;
    EXPECT_EQ(value("File Format:"), "Trend Link, batching: interval 1:30");
    file.batchPeriod = 1000 * 60 + 5;
    EXPECT_EQ(value("File Format:"), "Trend Link, batching: interval 999:65");
}

TEST_F(ConfigurationReportTest, AWiredSlaveReportsItsMastersSettings) {
    makeGroup();
    setup(2).monitorChannel = 3;
    setup(2).channel(3).function = ChannelFunction::Vdc;
    setup(2).channel(3).alarm1.sense = AlarmSense::Lo;
    const ConfigurationReport report = build(2);
    EXPECT_EQ(report.title, "INSTRUMENT CONFIGURATION - 34 (Slave)");
    EXPECT_EQ(value("Trigger Type:", 2), "External");
    EXPECT_EQ(value("Interval 1:", 2), "NA");
    EXPECT_EQ(value("Interval 2:", 2), "NA");
    EXPECT_EQ(value("Data File:", 2), "/data/master.csv");
    EXPECT_EQ(value("Model:", 2), "M200A");
    EXPECT_EQ(value("Monitor Chan:", 2), "3403");
    EXPECT_EQ(report.row(3)[5], "NA");
    EXPECT_EQ(build(1).title, "INSTRUMENT CONFIGURATION - 12 (Master)");
}

TEST_F(ConfigurationReportTest, AnUnwiredSlaveScansAtItsMastersInterval) {
    makeGroup();
    options.wiredGroup = false;
    EXPECT_EQ(value("Trigger Type:", 2), "Interval");
    EXPECT_EQ(value("Interval 1:", 2), "2.500 sec");
    setup(1).triggerType = TriggerType::External;
    setup(1).interval2 = 0.5;
    EXPECT_EQ(value("Interval 1:", 2), "0.500 sec");
}

TEST_F(ConfigurationReportTest, SavesTheTextFileOrSaysWhyNot) {
    const kvtest::TempDir dir;
    const std::string path = dir.path() + "/config.txt";
    std::ofstream(path) << "an older report that is longer than the new one" << std::string(4000, '-');
    ScriptedUserInterface ui;
    const ConfigurationReport report = build();
    ASSERT_TRUE(saveConfigurationReport(path, report, ui));
    std::ostringstream written;
    written << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(written.str(), configurationReportText(report));

    EXPECT_FALSE(saveConfigurationReport(dir.path() + "/missing/config.txt", report, ui));
    EXPECT_FALSE(saveConfigurationReport("/dev/full", report, ui));
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Unable to Create Configuration Text File!",
                                                           "Unable to Write to Configuration Text File!"}));
    EXPECT_EQ(ui.busyDepth(), 0);
}

} // namespace
