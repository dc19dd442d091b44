// Logging into Trend Link data sets end to end: korvel-sim's instruments,
// the logging tick and the real historian. Every scan an instrument makes is
// stored under its tags at its time, batches follow the instrument's DIO
// lines, and a start whose data sets cannot be opened names the instrument.
#include "logging_with_files.h"

#include "datafiles/trend_link_settings.h"
#include "platform/ini_profile.h"
#include "scripted_free_space.h"
#include "trend_link_store.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace korvel {
namespace {

class TrendLinkLogging : public LoggingWithFiles {
protected:
    void SetUp() override {
        LoggingWithFiles::SetUp();
        ::setenv("TBASE32_INFOLINK_DIR", dir.path().c_str(), 1);
        const std::string settings = dir.path() + "/korvel32.ini";
        writeProfileString(settings, trend_link_settings::kSection, trend_link_settings::kDirectoryKey,
                           kvtest::trendLinkDirectory());
        trendLink.setPaths({kvtest::trendLinkDirectory() + "/", settings});
        trendLink.setFreeDiskSpace(freeSpace);
    }
    void TearDown() override {
        LoggingWithFiles::TearDown();
        trendLinkLibrary.unload();
        ::unsetenv("TBASE32_INFOLINK_DIR");
    }

    kvtest::ScriptedFreeSpace freeSpace;

    // Every scan the instrument made is in its data set: the totalizer
    // counts them, every tag holds one value per scan at the scan's time.
    void expectEveryScanStored(const std::string &dataSet, int bcn) {
        SCOPED_TRACE(dataSet);
        expectAllFetched(bcn);
        const std::string prefix = (bcn < 10 ? "0" : "") + std::to_string(bcn);
        std::vector<double> counts;
        for (const long count : firstScans(sim->counters(bcn).produced)) counts.push_back(static_cast<double>(count));
        EXPECT_EQ(kvtest::valuesOf(dataSet, prefix + "TOTAL"), counts);
        const std::vector<double> times = kvtest::timesOf(dataSet, prefix + "TOTAL");
        EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
        EXPECT_EQ(std::adjacent_find(times.begin(), times.end()), times.end()) << "one time per scan";
        // Made during this test, by the PC's clock the instrument was set to.
        const double now = static_cast<double>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
                .count());
        EXPECT_GT(times.front(), now - 120'000);
        EXPECT_LT(times.back(), now + 1'000);
        for (const char *tag : {"01", "02", "03", "DIO", "ALARM1", "ALARM2"})
            EXPECT_EQ(kvtest::timesOf(dataSet, prefix + tag), times) << tag;
    }
};

TEST_F(TrendLinkLogging, AGroupRunStoresEveryScanOfEachInstrumentInItsDataSetWithTheSpecialReadings) {
    startInstruments({1, 2});
    control("special 1 2 open");
    control("special 2 3 overload");
    control("special 2 1 -overload");
    startGroupLogging(FileFormat::TrendLink, "group.set", 0.05);
    tickFor(std::chrono::milliseconds(700));
    ASSERT_TRUE(instrumentHolds(2, 10));

    ASSERT_TRUE(stopAllAndDrain(5000));
    expectEveryScanStored("group-01m", 1);
    expectEveryScanStored("group-02s", 2);
    const std::size_t masterScans = static_cast<std::size_t>(sim->counters(1).produced);
    const std::size_t slaveScans = static_cast<std::size_t>(sim->counters(2).produced);
    EXPECT_EQ(kvtest::valuesOf("group-01m", "0102"), std::vector<double>(masterScans, double{9.0e9f}));
    EXPECT_EQ(kvtest::valuesOf("group-02s", "0203"), std::vector<double>(slaveScans, 1.0e9));
    EXPECT_EQ(kvtest::valuesOf("group-02s", "0201"), std::vector<double>(slaveScans, -1.0e9));
    const std::vector<double> readings = kvtest::valuesOf("group-01m", "0101");
    EXPECT_TRUE(std::all_of(readings.begin(), readings.end(), [](double v) { return std::abs(v) < 3.0; }));
    EXPECT_TRUE(ui.messages().empty()) << ::testing::PrintToString(ui.messageTexts());
    EXPECT_TRUE(ui.warnings().empty());
}

// Batch type 1: a batch lasts while DIO line 2 is held low, from the first
// scan that reads it low to 1 ms before the first that reads it high again.
TEST_F(TrendLinkLogging, ABatchLastsWhileTheDioLineIsLow) {
    startInstruments({1});
    control("dio 1 0xFF");
    const std::string path = logToFile(1, FileFormat::TrendLink, "dio.set", 0.05);
    DataFileSetup &file = table.slot(1).setup->dataFile;
    file.batchType = 1;
    file.batchDioLine = 2;
    file.batchName = "Cycle";
    startLogging(slots({1}));
    tickFor(std::chrono::milliseconds(200));
    control("dio 1 0xFB");
    ASSERT_TRUE(tickUntil(
        [&] {
            return kvtest::valuesOf("dio", "01DIO").size() >= 10 && kvtest::valuesOf("dio", "01DIO").back() == 0xFB;
        },
        5000));
    control("dio 1 0xFF");
    ASSERT_TRUE(tickUntil([&] { return kvtest::valuesOf("dio", "01DIO").back() == 0xFF; }, 5000));
    tickFor(std::chrono::milliseconds(100));
    ASSERT_TRUE(stopAllAndDrain(5000));

    const std::vector<kvtest::StoredValue> dio = kvtest::storedValues("dio", "01DIO");
    const auto low = std::find_if(dio.begin(), dio.end(), [](auto &v) { return v.value == 0xFB; });
    const auto high = std::find_if(low, dio.end(), [](auto &v) { return v.value == 0xFF; });
    ASSERT_NE(high, dio.end());
    EXPECT_EQ(kvtest::storedBatches("dio"), (std::vector<kvtest::StoredBatch>{{"Cycle:1", low->time, high->time - 1}}));
}

// With Perform Rollover a disk running low rolls the data set over and says
// so once in the warning window, or under remote mode to the toolbox (code
// 2); logging goes on and loses nothing.
TEST_F(TrendLinkLogging, LowDiskSpaceDuringARunRollsTheDataSetOverAndIsToldOnce) {
    startInstruments({1});
    logToFile(1, FileFormat::TrendLink, "low.set", 0.05);
    DataFileSetup &file = table.slot(1).setup->dataFile;
    file.lowDiskAction = 0;
    file.lowDiskThreshold = 5000;
    startLogging(slots({1}));
    ASSERT_TRUE(tickUntil([&] { return kvtest::valuesOf("low", "01TOTAL").size() >= 5; }, 5000));
    freeSpace.scripted = std::optional<std::uint64_t>{4'000'000};
    clock.set({clock.now().seconds + 6, 0}); // the next check is due
    ASSERT_TRUE(tickUntil([&] { return !ui.warnings().empty(); }, 5000));
    tickFor(std::chrono::milliseconds(300));
    ASSERT_TRUE(stopAllAndDrain(5000));

    ASSERT_EQ(ui.warnings().size(), 1u);
    EXPECT_EQ(ui.warnings()[0].kind, WarningKind::DataFile);
    EXPECT_TRUE(ui.warnings()[0].text.starts_with("Only 4000000 bytes of free disk\nspace remain on "));
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "/_low/low.00001.HIS"));
    expectEveryScanStored("low", 1);

    toolbox.setRemoteMode(true);
    freeSpace.scripted = std::optional<std::uint64_t>{3'000'000};
    startLogging(slots({1}));
    ASSERT_TRUE(tickUntil([&] { return !log.events.empty() && log.events.back() == "error 1 2"; }, 5000));
    ASSERT_TRUE(stopAllAndDrain(5000));
    EXPECT_EQ(ui.warnings().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "/_low/low.00002.HIS"));
}

TEST_F(TrendLinkLogging, ARemoteStartWhoseDataSetsCannotBeOpenedNamesTheInstrument) {
    startInstruments({4});
    logToFile(1, FileFormat::TrendLink, "run.set", 0.1);
    kvtest::TempDir empty;
    trendLink.setPaths({empty.path() + "/", empty.path() + "/korvel32.ini"}); // no historian there

    remote.receive(static_cast<std::uint32_t>(RemoteCommand::StartAll), 0);
    remote.runPending();
    ASSERT_FALSE(toolbox.replies.empty());
    EXPECT_EQ(toolbox.replies.back().first, 4);
    EXPECT_FALSE(engine.run(1).logging);
    ASSERT_EQ(ui.messageTexts().size(), 1u);
    EXPECT_TRUE(ui.messageTexts()[0].starts_with("Unable to load Trend Link DLL!\r\n")) << ui.messageTexts()[0];
}

} // namespace
} // namespace korvel
