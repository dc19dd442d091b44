#include "setup/data_file_rules.h"

#include "scripted_user_interface.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

using Items = std::vector<std::string>;

// Three instruments: 12 (slot 1) is the one configured, 34 logs to a .csv
// file, 56 to a Trend Link data set.
class DataFileConfiguration : public ::testing::Test {
protected:
    DataFileConfiguration() {
        setupTemplate.complete("Label", "VDC");
        table.add(1, 12, ModelCode::M100A);
        table.add(2, 34, ModelCode::M200A);
        table.add(3, 56, ModelCode::M100A);
        enableFile(2, "/data/plant.csv");
        enableFile(3, "/data/sets/boiler.set").format = FileFormat::TrendLink;
    }

    DataFileSetup &enableFile(int slot, const std::string &path) {
        DataFileSetup &file = table.slot(slot).setup->dataFile;
        file.enabled = true;
        file.path = path;
        return file;
    }

    DataFileConfigurationModel open(int slot = 1) const {
        return DataFileConfigurationModel(*table.slot(slot).setup, table, slot, identityOf(table, slot, options), '.');
    }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
};

TEST_F(DataFileConfiguration, AFormatEnablesTheFileAndBringsItsExtension) {
    DataFileConfigurationModel model = open();
    EXPECT_EQ(DataFileConfigurationModel::formatItems(), (Items{"None", "Fast Binary", "ASCII (CSV)", "Trend Link"}));
    EXPECT_EQ(model.formatIndex(), 0);
    EXPECT_EQ(model.caption(), "Data File Configuration - 12");
    struct Step {
        int format;
        const char *path; // typed before the format is chosen, or null
        const char *after;
        bool enabled;
    };
    const Step steps[] = {
        {2, "/data/run", "/data/run", true},
        {1, "/data/run.CSV", "/data/run.bin", true},
        {3, nullptr, "/data/run.set", true},
        {0, nullptr, "/data/run.set", false},
        {2, "/data/run.set.txt", "/data/run.set.txt", true},
        {2, "/data/.bin", "/data/.csv", true},
    };
    for (const Step &step : steps) {
        if (step.path != nullptr) model.setPath(step.path);
        model.chooseFormat(step.format);
        EXPECT_EQ(model.path(), step.after);
        EXPECT_EQ(model.formatIndex(), step.enabled ? step.format : 0);
    }
}

TEST_F(DataFileConfiguration, TheControlsFollowTheFormatAndTheRole) {
    using enum DataFileControl;
    const DataFileControl all[] = {Format,    Path,         SelectFile, Comment,      Append,
                                   Overwrite, AutoRollover, Deadband,   BatchOptions, Ok};
    struct Case {
        const char *what;
        GroupRole role;
        int format;
        const char *path;
        std::vector<DataFileControl> enabled;
    };
    const Case cases[] = {
        {"no file", GroupRole::Async, 0, "", {Format, Ok}},
        {"ASCII without a path",
         GroupRole::Async,
         2,
         "",
         {Format, Path, SelectFile, Comment, Append, Overwrite, AutoRollover}},
        {"binary",
         GroupRole::Async,
         1,
         "/d/a.bin",
         {Format, Path, SelectFile, Comment, Append, Overwrite, AutoRollover, Ok}},
        {"Trend Link",
         GroupRole::Async,
         3,
         "/d/a.set",
         {Format, Path, SelectFile, Comment, AutoRollover, Deadband, BatchOptions, Ok}},
        {"a Slave of a Trend Link Master", GroupRole::Slave, 3, "/d/a.set", {Deadband, Ok}},
        {"a Slave of an ASCII Master", GroupRole::Slave, 2, "/d/a.csv", {Ok}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        table.setRole(1, GroupRole::Async);
        int slot = 1;
        if (c.role == GroupRole::Slave) {
            table.setRole(2, GroupRole::Master);
            table.setRole(1, GroupRole::Slave);
        }
        DataFileConfigurationModel master = open(c.role == GroupRole::Slave ? 2 : 1);
        master.setPath(c.path);
        master.chooseFormat(c.format);
        master.applyTo(*table.slot(c.role == GroupRole::Slave ? 2 : 1).setup);
        const DataFileConfigurationModel model = open(slot);
        for (const DataFileControl control : all) {
            const bool expected = std::find(c.enabled.begin(), c.enabled.end(), control) != c.enabled.end();
            EXPECT_EQ(model.enabled(control), expected) << static_cast<int>(control);
        }
        EXPECT_EQ(model.path(), c.path) << "a Slave shows its Master's file";
    }
}

TEST_F(DataFileConfiguration, APathAnotherInstrumentWritesToIsRefused) {
    struct Case {
        int format;
        const char *path;
        int refusal;
        const char *text;
    };
    const Case cases[] = {
        {2, "/data/plant.csv", 44, "Instrument 34 already has this filename!"},
        {1, "/data/plant.csv", 44, "Instrument 34 already has this filename!"},
        {2, "/data/Plant.csv", 0, ""},
        {3, "/data/sets/boiler.set", 44, "Instrument 56 already has this filename!"},
        {3, "\\\\server\\share\\run.set", 2104, nullptr},
        {3, "//server/share/run.set", 2104, nullptr},
        {2, "//server/share/run.csv", 0, ""},
        {0, "/data/plant.csv", 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        DataFileConfigurationModel model = open();
        model.setPath(c.path);
        model.chooseFormat(c.format);
        model.setPath(c.path);
        const auto refused = model.accept();
        EXPECT_EQ(refused ? refused->messageId : 0, c.refusal);
        if (!refused) continue;
        EXPECT_EQ(refused->focus, DataFileControl::Path);
        EXPECT_EQ(refused->text, c.text != nullptr ? c.text : resourceString(2104));
    }

    // An instrument whose file is off, or the instrument itself, is no rival.
    table.slot(2).setup->dataFile.enabled = false;
    enableFile(1, "/data/sets/boiler.set");
    DataFileConfigurationModel model = open();
    model.setPath("/data/plant.csv");
    EXPECT_EQ(model.accept(), std::nullopt);
}

// Where Trend Link output can tell which data set a path names, two paths of one data set clash.
TEST_F(DataFileConfiguration, TrendLinkCanNameTheDataSetOfAPath) {
    DataFileConfigurationModel model = open();
    model.chooseFormat(3);
    model.setPath("/data/sets/other/boiler.set");
    EXPECT_EQ(model.accept(), std::nullopt);
    model.setTrendLinkDataSetOf([](const std::string &path) { return path.substr(path.rfind('/')); });
    EXPECT_EQ(model.accept()->text, "Instrument 56 already has this filename!");
    model.chooseFormat(2);
    model.setPath("/data/sets/other/boiler.csv");
    EXPECT_EQ(model.accept(), std::nullopt);
}

TEST_F(DataFileConfiguration, OkKeepsCommentAndModeAndASlaveOnlyItsDeadbands) {
    DataFileConfigurationModel model = open();
    model.chooseFormat(1);
    model.setPath("/data/run.bin");
    model.setComment("first run");
    model.setOverwrite(true);
    ASSERT_EQ(model.accept(), std::nullopt);
    InstrumentSetup &working = *table.slot(1).setup;
    model.applyTo(working);
    EXPECT_EQ(working.dataFile.mode, FileMode::Overwrite);
    EXPECT_EQ(working.dataFile.comment, "first run");
    EXPECT_EQ(working.dataFile.format, FileFormat::FastBinary);
    EXPECT_TRUE(working.dataFile.enabled);

    table.setRole(3, GroupRole::Master);
    table.setRole(1, GroupRole::Slave);
    DataFileConfigurationModel slave = open();
    EXPECT_EQ(slave.path(), "/data/sets/boiler.set");
    EXPECT_EQ(slave.caption(), "Data File Configuration - 12 (Slave)");
    DeadbandValuesModel deadband = slave.deadband();
    deadband.setValueText("0.5");
    ASSERT_EQ(deadband.applyValue(), std::nullopt);
    slave.acceptDeadband(deadband);
    ASSERT_EQ(slave.accept(), std::nullopt);
    InstrumentSetup before = working;
    slave.applyTo(working);
    EXPECT_EQ(working.dataFile, before.dataFile);
    EXPECT_EQ(working.channel(1).deadband, 0.5f);
}

TEST_F(DataFileConfiguration, CancelAfterASubDialogWasAcceptedAsksFirst) {
    ScriptedUserInterface ui;
    DataFileConfigurationModel model = open();
    model.chooseFormat(3);
    EXPECT_TRUE(model.mayCancel(ui));
    BatchOptionsModel batch = model.batchOptions();
    ASSERT_EQ(batch.accept(), std::nullopt);
    model.acceptBatchOptions(batch);
    ui.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(model.mayCancel(ui));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{resourceString(2101)});
}

TEST_F(DataFileConfiguration, TheFileDialogFiltersByTheChosenFormat) {
    DataFileConfigurationModel model = open();
    model.chooseFormat(1);
    FileDialogTexts dialog = model.selectFileDialog();
    EXPECT_EQ(dialog.title, "Data File - 12");
    EXPECT_EQ(dialog.filter, "Binary Files (*.BIN)|*.bin|All Files (*.*)|*.*||");
    model.chooseFormat(3);
    EXPECT_EQ(model.selectFileDialog().filter, "Trend Link (*.SET)|*.set|All Files (*.*)|*.*||");
    model.chooseFormat(2);
    const std::vector<FileFilterEntry> entries = fileFilterEntries(model.selectFileDialog().filter);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, "ASCII Files (*.CSV)");
    EXPECT_EQ(entries[0].pattern, "*.csv");
    EXPECT_EQ(entries[1].pattern, "*.*");

    EXPECT_EQ(loadMxbFileDialog(3).title, "Load Mx+B File - 03");
    EXPECT_TRUE(loadMxbFileDialog(3).mustExist);
    EXPECT_EQ(configurationTextDialog(45).title, "Save Instrument Configuration Text - 45");
    EXPECT_TRUE(configurationTextDialog(45).overwritePrompt);
    EXPECT_EQ(configurationTextDialog(45).defaultExtension, "txt");
}

TEST_F(DataFileConfiguration, DeadbandsListTheDefinedChannelsAndTakeAValueWithinTheLimit) {
    InstrumentSetup &setup = *table.slot(1).setup;
    setup.channel(2).deadband = 0.00125f;
    setup.channel(2).unitsLabel = "V";
    setup.channel(2).label = "Inlet";
    setup.channel(22).function = ChannelFunction::Average;
    setup.channel(22).deadband = 123456789.0f;
    DeadbandValuesModel model(setup, identityOf(table, 1, options), ',');
    EXPECT_EQ(model.caption(), "Deadband Values - 12");
    EXPECT_EQ(model.channels(), (std::vector<int>{1, 2, 3, 22}));
    const Items lines = model.lines();
    EXPECT_EQ(lines[0], "1201   0,00000\t   (VDC, Label)");
    EXPECT_EQ(lines[1], "1202   0,00125000\t   (V, Inlet)");
    EXPECT_EQ(lines[3], "1222   1,23457e+08\t   (, Label)");
    EXPECT_EQ(model.selection(), std::vector<int>{1});
    model.select({2, 5, 22});
    EXPECT_EQ(model.selection(), (std::vector<int>{2, 22})) << "channel 5 is not listed";
    EXPECT_EQ(model.valueText(), "0,00125000");

    struct Case {
        const char *value;
        int refusal;
        float stored;
    };
    const Case cases[] = {{"9,9999e9", 0, 9.9999e9f}, {"0,5", 0, 0.5f},  {"9,99e-9", 0, 0.0f}, {"1e-8", 0, 1e-8f},
                          {"1e10", 1323, 0},          {"-0,1", 1323, 0}, {"abc", 0, 0.0f}};
    for (const Case &c : cases) {
        model.setValueText(c.value);
        const auto refused = model.applyValue();
        EXPECT_EQ(refused ? refused->messageId : 0, c.refusal) << c.value;
        if (refused) {
            EXPECT_EQ(*refused, (Refusal<DeadbandControl>{1323, "Invalid Value!", DeadbandControl::Value}));
            continue;
        }
        EXPECT_EQ(model.deadband(2), c.stored) << c.value;
        EXPECT_EQ(model.deadband(22), c.stored) << c.value;
    }
    EXPECT_EQ(model.deadband(1), 0.0f);
    model.select({});
    EXPECT_FALSE(model.enabled(DeadbandControl::ApplyValue));
}

TEST_F(DataFileConfiguration, AutoRolloverChecksTheValueOfItsModeAndTheFreeDiskSpace) {
    DataFileSetup file;
    AutoRolloverModel fresh(file, identityOf(table, 1, options), '.');
    EXPECT_EQ(fresh.text(RolloverControl::FileSize), "1000");
    EXPECT_EQ(fresh.text(RolloverControl::TimeInterval), "1");
    EXPECT_EQ(fresh.text(RolloverControl::HourOfDay), "0");
    EXPECT_EQ(fresh.text(RolloverControl::FreeDiskSpace), "1000");
    EXPECT_FALSE(fresh.enabled(RolloverControl::FileSize));

    file.rolloverMode = RolloverMode::TimeInterval;
    file.rolloverValue = 5400;
    EXPECT_EQ(AutoRolloverModel(file, identityOf(table, 1, options), ',').text(RolloverControl::TimeInterval), "1,5");

    struct Case {
        RolloverMode mode;
        RolloverControl field;
        const char *value;
        const char *freeSpace;
        int refusal;
        std::uint32_t stored;
    };
    using enum RolloverControl;
    const Case cases[] = {
        {RolloverMode::FileSize, FileSize, "200", "0", 0, 200},
        {RolloverMode::FileSize, FileSize, "100000", "100000", 0, 100000},
        {RolloverMode::FileSize, FileSize, "199", "0", 1500, 0},
        {RolloverMode::HourOfDay, HourOfDay, "23", "0", 0, 23},
        {RolloverMode::HourOfDay, HourOfDay, "twelve", "0", 0, 0},
        {RolloverMode::HourOfDay, HourOfDay, "24", "0", 1501, 0},
        {RolloverMode::TimeInterval, TimeInterval, "99", "0", 0, 99 * 3600},
        {RolloverMode::TimeInterval, TimeInterval, "0.5", "0", 1502, 0},
        {RolloverMode::TimeInterval, TimeInterval, "2.5", "0", 0, 9000},
        {RolloverMode::FileSize, FileSize, "500", "100001", 1503, 0},
        {RolloverMode::None, FileSize, "1", "-1", 1503, 0},
        {RolloverMode::None, FileSize, "1", "50", 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.value) + " / " + c.freeSpace);
        AutoRolloverModel model(DataFileSetup{}, identityOf(table, 1, options), '.');
        model.chooseMode(c.mode);
        model.setText(c.field, c.value);
        model.setText(FreeDiskSpace, c.freeSpace);
        model.setStopLogging(true);
        const auto refused = model.accept();
        EXPECT_EQ(refused ? refused->messageId : 0, c.refusal);
        if (refused) {
            EXPECT_EQ(refused->focus, c.refusal == 1503 ? FreeDiskSpace : c.field);
            continue;
        }
        DataFileSetup stored;
        model.applyTo(stored);
        EXPECT_EQ(stored.rolloverMode, c.mode);
        EXPECT_EQ(stored.rolloverValue, c.stored);
        EXPECT_EQ(stored.lowDiskAction, 1);
    }
}

TEST_F(DataFileConfiguration, BatchOptionsStorePeriodsAndStartTimesInMinutes) {
    const InstrumentIdentity identity = identityOf(table, 1, options);
    EXPECT_EQ(BatchOptionsModel::dioItems().front(), "DIO 0");
    EXPECT_EQ(BatchOptionsModel::dioItems().back(), "DIO 7");
    DataFileSetup file;
    file.batchType = 2;
    file.batchPeriod = 60039; // 1000 hours 39 minutes
    BatchOptionsModel long_(file, identity);
    EXPECT_EQ(long_.text(BatchControl::PeriodHours), "999");
    EXPECT_EQ(long_.text(BatchControl::PeriodMinutes), "99");

    using enum BatchControl;
    struct Case {
        const char *hours, *minutes;
        bool startAtTime;
        const char *startHours, *startMinutes;
        int refusal;
        BatchControl focus;
        std::uint8_t type;
        std::uint16_t period, start;
    };
    const Case cases[] = {
        {"999", "99", false, "", "", 0, Name, 2, 60039, 0},
        {"0", "1", true, "23", "59", 0, Name, 3, 1, 1439},
        {"", "30", true, "", "", 0, Name, 3, 30, 0},
        {"0", "0", false, "", "", 2102, PeriodHours, 0, 0, 0},
        {"1000", "0", false, "", "", 2102, PeriodHours, 0, 0, 0},
        {"1", "100", false, "", "", 2102, PeriodHours, 0, 0, 0},
        {"1.5", "0", false, "", "", 2102, PeriodHours, 0, 0, 0},
        {"1", "0", true, "24", "0", 2103, StartHours, 0, 0, 0},
        {"1", "0", true, "0", "60", 2103, StartHours, 0, 0, 0},
        {"1", "0", false, "24", "60", 0, Name, 2, 60, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.hours) + ":" + c.minutes + " from " + c.startHours + ":" + c.startMinutes);
        BatchOptionsModel model(DataFileSetup{}, identity);
        model.chooseDefinition(BatchDefinition::Periodic);
        model.setText(PeriodHours, c.hours);
        model.setText(PeriodMinutes, c.minutes);
        model.setStartAtTime(c.startAtTime);
        model.setText(StartHours, c.startHours);
        model.setText(StartMinutes, c.startMinutes);
        EXPECT_EQ(model.enabled(StartHours), c.startAtTime);
        const auto refused = model.accept();
        EXPECT_EQ(refused ? refused->messageId : 0, c.refusal);
        if (refused) {
            EXPECT_EQ(refused->focus, c.focus);
            continue;
        }
        DataFileSetup stored;
        model.applyTo(stored);
        EXPECT_EQ(stored.batchType, c.type);
        EXPECT_EQ(stored.batchPeriod, c.period);
        EXPECT_EQ(stored.batchStart, c.start);
    }

    BatchOptionsModel dio(DataFileSetup{}, identity);
    dio.chooseDefinition(BatchDefinition::DioLow);
    dio.chooseDioLine(5);
    dio.setText(Name, "Shift");
    dio.setText(PeriodHours, "bad"); // not used by this definition
    EXPECT_FALSE(dio.enabled(PeriodHours));
    EXPECT_TRUE(dio.enabled(DioLine));
    ASSERT_EQ(dio.accept(), std::nullopt);
    DataFileSetup stored;
    dio.applyTo(stored);
    EXPECT_EQ(stored.batchType, 1);
    EXPECT_EQ(stored.batchDioLine, 5);
    EXPECT_EQ(stored.batchName, "Shift");
}

} // namespace
