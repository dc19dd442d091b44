// Trend Link output against the real historian: what the scans leave in the
// data sets, how an existing data set is taken over or refused, and every
// reason an open fails, each with its message and nothing left open.
#include "trend_link_fixture.h"

#include "datafiles/trend_link_names.h"
#include "file_bytes.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <utility>

namespace korvel {
namespace {

namespace fs = std::filesystem;

using Values = std::vector<kvtest::StoredValue>;

class TrendLinkOutputTest : public TrendLinkTest {
protected:
    // Writes a run of count scans from 12:00:00 (+ the minutes given) and closes.
    void logRun(int slot, int minute, int count, std::uint32_t firstCount = 1) {
        auto output = open(slot);
        ASSERT_NE(output, nullptr) << ::testing::PrintToString(ui.messageTexts());
        MadeScan first;
        first.minute = minute;
        first.totalizer = firstCount;
        ASSERT_TRUE(output->writeBatch(table.slot(slot).bcn, batchOf(secondsFrom(first, count)), daylight));
        ASSERT_TRUE(output->close());
    }

    TBaseDataSet held = nullptr; // as another program would hold it

    // The data set can be opened by another program: nothing holds it.
    static bool released(const std::string &name) {
        const TBaseDataSet dataSet = TBaseOpenDataSet(name.c_str(), "");
        if (dataSet == nullptr) return false;
        TBaseCloseDataSet(dataSet, 0);
        return true;
    }
};

TEST_F(TrendLinkOutputTest, StoresEveryScanUnderItsTagsAtItsGmtTimeWithTheSpecialReadings) {
    const int slot = addInstrument(7);
    auto output = open(slot);
    ASSERT_NE(output, nullptr) << ::testing::PrintToString(ui.messageTexts());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    MadeScan first{.hour = 23,
                   .minute = 59,
                   .second = 59,
                   .millisecond = 250,
                   .readings = {nan, inf, -inf},
                   .dio = 0x05,
                   .totalizer = 41,
                   .alarm1 = 6,
                   .alarm2 = 1};
    MadeScan second{.year = 2024,
                    .month = 7,
                    .day = 2,
                    .hour = 0,
                    .minute = 0,
                    .second = 0,
                    .millisecond = 999,
                    .readings = {0.5f, -12.25f, 3e-7f},
                    .dio = 0xFA,
                    .totalizer = 42};
    ASSERT_TRUE(output->writeBatch(7, batchOf({first}), daylight));
    ASSERT_TRUE(output->writeBatch(7, batchOf({second}), daylight));
    ASSERT_TRUE(output->close());

    const double t1 = localMilliseconds(2024, 7, 1, 23, 59, 59, 250);
    const double t2 = localMilliseconds(2024, 7, 2, 0, 0, 0, 999);
    // The markers are stored as the floats they are written as.
    EXPECT_EQ(kvtest::storedValues("run", "0701"), (Values{{t1, double{9.0e9f}}, {t2, 0.5}}));
    EXPECT_EQ(kvtest::valuesOf("run", "0702"), (std::vector<double>{1.0e9, -12.25}));
    EXPECT_EQ(kvtest::valuesOf("run", "0703"), (std::vector<double>{-1.0e9, 3e-7f}));
    EXPECT_EQ(kvtest::valuesOf("run", "07DIO"), (std::vector<double>{5, 250}));
    EXPECT_EQ(kvtest::valuesOf("run", "07TOTAL"), (std::vector<double>{41, 42}));
    EXPECT_EQ(kvtest::valuesOf("run", "07ALARM1"), (std::vector<double>{6, 0}));
    EXPECT_EQ(kvtest::valuesOf("run", "07ALARM2"), (std::vector<double>{1, 0}));
    EXPECT_EQ(kvtest::timesOf("run", "07ALARM2"), (std::vector<double>{t1, t2}));
    EXPECT_EQ(kvtest::storedTags("run"),
              (std::vector<std::string>{"0701", "0702", "0703", "07DIO", "07TOTAL", "07ALARM1", "07ALARM2"}));

    // The data-file path tells where the data went.
    const std::string directory = dir.path() + "/data/_run";
    EXPECT_EQ(fileBytes(dataPath("run.set")),
              "The Trend Link files for Data Set(s) for run reside in the directory:\r\n      " + directory +
                  std::string(1, '\0'));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(TrendLinkOutputTest, GroupKeepsADataSetPerInstrumentInOneDirectory) {
    const int master = addInstrument(3, "line 4.set");
    const int slave = addInstrument(5);
    table.setRole(master, GroupRole::Master);
    table.setRole(slave, GroupRole::Slave);
    auto output = open(master);
    ASSERT_NE(output, nullptr) << ::testing::PrintToString(ui.messageTexts());
    ASSERT_TRUE(output->writeBatch(5, batchOf(secondsFrom({.totalizer = 100}, 2)), daylight));
    ASSERT_TRUE(output->writeBatch(3, batchOf(secondsFrom({.totalizer = 1}, 3)), daylight));
    EXPECT_FALSE(output->writeBatch(9, batchOf(secondsFrom({}, 1)), daylight)) << "not of the group";
    ASSERT_TRUE(output->close());

    EXPECT_EQ(kvtest::valuesOf("line 4-03m", "03TOTAL"), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(kvtest::valuesOf("line 4-05s", "05TOTAL"), (std::vector<double>{100, 101}));
    std::string registered;
    ASSERT_GT(library.getDataSetPath("line 4-05s", registered), 0);
    EXPECT_EQ(registered, dir.path() + "/data/_line 4");
}

TEST_F(TrendLinkOutputTest, ARunIsAppendedToTheDataSetItTakesOver) {
    const int slot = addInstrument(7);
    logRun(slot, 0, 3, 1);
    table.slot(slot).setup->channel(4) = table.slot(slot).setup->channel(1); // a channel more the second time
    logRun(slot, 10, 2, 4);

    EXPECT_EQ(kvtest::valuesOf("run", "07TOTAL"), (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(kvtest::timesOf("run", "0704"), (std::vector<double>{localMilliseconds(2024, 7, 1, 12, 10, 0),
                                                                   localMilliseconds(2024, 7, 1, 12, 10, 1)}));
    EXPECT_FALSE(fs::exists(rolledOver(1))) << "taken over, not rolled over";
    EXPECT_EQ(kvtest::storedTags("run"),
              (std::vector<std::string>{"0701", "0702", "0703", "07DIO", "07TOTAL", "07ALARM1", "07ALARM2", "0704"}));
}

TEST_F(TrendLinkOutputTest, ADataSetWhoseRolloverCameDueMeanwhileBeginsInANewNowFile) {
    const int slot = addInstrument(7);
    file(slot).rolloverMode = RolloverMode::TimeInterval;
    file(slot).rolloverValue = 3600;
    setClock(1, 12, 30);
    logRun(slot, 0, 2, 1);
    setClock(1, 14, 0);
    logRun(slot, 90, 2, 3);

    EXPECT_TRUE(fs::exists(rolledOver(1)));
    EXPECT_EQ(kvtest::valuesOf("run", "07TOTAL"), (std::vector<double>{1, 2, 3, 4})) << "read from both files";
}

TEST_F(TrendLinkOutputTest, ADataSetNewerThanThePcClockIsRefusedWithTheSecondsToWait) {
    const int slot = addInstrument(7);
    logRun(slot, 0, 3); // the newest at 12:00:02
    setClock(1, 11, 58, 30, 500);

    EXPECT_EQ(open(slot), nullptr);
    EXPECT_EQ(ui.messageTexts(),
              (std::vector<std::string>{"Instrument 07:  PC time earlier than existing Trend Link data!\nVerify PC "
                                        "time, wait 92 seconds, or create a new Data Set."}));
    EXPECT_TRUE(released("run"));
}

TEST_F(TrendLinkOutputTest, AnotherInstrumentsDataSetIsRefused) {
    logRun(addInstrument(5), 0, 1);
    const int other = addInstrument(7);

    EXPECT_EQ(open(other), nullptr);
    EXPECT_EQ(ui.messageTexts(),
              (std::vector<std::string>{"Instrument 07:  Selected Trend Link Data Set already contains data for "
                                        "instrument 05!\r\nDelete the Data Set or create a new Data Set."}));
    EXPECT_TRUE(released("run"));
    EXPECT_EQ(kvtest::valuesOf("run", "05TOTAL").size(), 1u);
}

// Each way an open fails tells the user why, in the system's own words, and
// leaves no data set open.
TEST_F(TrendLinkOutputTest, EveryFailedOpenIsToldAndLeavesNothingOpen) {
    struct Case {
        const char *what;
        std::function<void(int slot)> arrange;
        std::function<std::string()> message; // the text, or how it begins
    };
    const auto text = [](std::string fixed) { return [fixed] { return fixed; }; };
    const std::vector<Case> cases{
        {"infolink.ini cannot be written", [this](int) { library.refuseRegistration = true; },
         text("Cannot write to Trend Link infolink.ini!\r\nCheck file permissions or location of file.")},
        {"the data set directory cannot be made",
         [this](int slot) {
             std::ofstream(dir.path() + "/plain");
             file(slot).path = dir.path() + "/plain/run.set";
         },
         [this] {
             return "Cannot create Trend Link Data Set directory:\r\n    " + dir.path() +
                    "/plain/_run!\r\nCheck directory permissions or free disk space.";
         }},
        {"the pointer file cannot be made", [this](int) { fs::create_directories(dataPath("run.set")); },
         [this] { return "Cannot create Trend Link Data Set dummy file:\r\n    " + dataPath("run.set") + "!"; }},
        {"the chart template is missing",
         [this](int) {
             trendLink.setPaths({dir.path() + "/", settingsPath()});
         },
         text("Unable to read Trend Link default template chart file - tldef.cht!")},
        {"the chart file cannot be made", [this](int) { fs::create_directories(dataPath("_run/run.cht")); },
         [this] {
             return "Unable to create Trend Link Data Set chart file:\r\n    " + dataPath("_run/run.cht") + "!";
         }},
        {"the drive cannot be asked before a start that stops on low disk",
         [this](int slot) {
             file(slot).lowDiskAction = 1;
             freeSpace.scripted = std::optional<std::uint64_t>{};
         },
         [this] { return "Cannot access specified drive " + mountPointOf(dir.path()) + " for Trend Link data!"; }},
        {"the disk is too full for a tag",
         [this](int) {
             const std::string seam = dir.path() + "/free";
             std::ofstream(seam) << 1000;
             ::setenv("TBASE32_FREE_SPACE_FILE", seam.c_str(), 1);
         },
         text("Cannot add 0701 to the Trend Link Data Set!\r\nCheck amount of free disk space available.")},
        {"another program has the data set open",
         [this](int) {
             ASSERT_TRUE(trendLink.load());
             ASSERT_EQ(library.addDataSet("run", dataPath("_run")), 0);
             fs::create_directories(dataPath("_run"));
             held = TBaseOpenDataSet("run", "");
             ASSERT_NE(held, nullptr);
         },
         text("Instrument 07:  Error returned from Trend Link function TBaseOpenDataSet: \r\n")},
        {"the batch list is damaged", [this](int) { library.damagedBatchList = true; },
         text("Batch information in data set has been corrupted!")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        kvtest::TempDir caseDir;
        ::setenv("TBASE32_INFOLINK_DIR", caseDir.path().c_str(), 1);
        ::unsetenv("TBASE32_FREE_SPACE_FILE");
        freeSpace.scripted.reset();
        library.refuseRegistration = library.damagedBatchList = false;
        ui = ScriptedUserInterface{};
        table.removeAll();
        const int slot = addInstrument(7);
        trendLink.setPaths({kvtest::trendLinkDirectory() + "/", settingsPath()});
        fs::remove_all(dir.path() + "/data");
        c.arrange(slot);

        EXPECT_EQ(open(slot), nullptr);
        ASSERT_EQ(ui.messageTexts().size(), 1u);
        EXPECT_TRUE(ui.messageTexts()[0].starts_with(c.message())) << ui.messageTexts()[0];
        EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Exclamation);
        ::unsetenv("TBASE32_FREE_SPACE_FILE");
        if (held != nullptr) TBaseCloseDataSet(std::exchange(held, nullptr), 0);
        if (fs::exists(dataPath("_run/run.KEY"))) {
            EXPECT_TRUE(released("run")) << "left open";
        }
        library.unload();
    }
}

TEST_F(TrendLinkOutputTest, ADataSetThatLostItsNowFileIsRefused) {
    const int slot = addInstrument(7);
    logRun(slot, 0, 2);
    fs::remove(dataPath("_run/run.NOW"));

    EXPECT_EQ(open(slot), nullptr);
    EXPECT_EQ(ui.messageTexts(),
              (std::vector<std::string>{"Instrument 07:  Trend Link Data Set file not found!\nClose Trend Link, "
                                        "start logging again, and then reopen Trend Link."}));
}

TEST_F(TrendLinkOutputTest, LowDiskBeforeAStartThatStopsOnLowDiskIsOnlyAWarning) {
    const int slot = addInstrument(7);
    file(slot).lowDiskAction = 1;
    file(slot).lowDiskThreshold = 5000;
    freeSpace.scripted = std::optional<std::uint64_t>{4'999'999};

    EXPECT_NE(open(slot), nullptr);
    EXPECT_EQ(ui.messageTexts(),
              (std::vector<std::string>{"WARNING:  Only 4999999 bytes of free disk\nspace remain on " +
                                        mountPointOf(dir.path()) + " for Trend Link data!"}));
}

} // namespace
} // namespace korvel
