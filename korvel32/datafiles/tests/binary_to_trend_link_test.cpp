// Fast data files converted into Trend Link data sets, against the real
// historian: a Master file with a slave stores what logging the same scans
// into Trend Link stores, tag for tag and time for time; refusals leave no
// data set behind, and a data set that holds values is never touched.
#include "datafiles/data_file.h"
#include "datafiles/file_conversions.h"
#include "trend_link_fixture.h"

#include "conversion_run.h"
#include "file_bytes.h"

#include <chart_keys.h>

#include <filesystem>
#include <fstream>
#include <limits>

namespace korvel {
namespace {

namespace fs = std::filesystem;

using Messages = std::vector<std::string>;

constexpr std::int64_t kCreated = 1719835200; // when the Fast data files were made
constexpr float kOpen = std::numeric_limits<float>::quiet_NaN();
constexpr float kOverload = std::numeric_limits<float>::infinity();

class BinaryToTrendLinkTest : public TrendLinkTest {
protected:
    BinaryToTrendLinkTest() { fs::create_directories(dataPath("")); }

    // Master 3 with the template's channels 1 to 3, its Slave 5 with
    // channels 1 and 3, logging to name.
    void makeGroup(const std::string &name = "logged.set") {
        master = addInstrument(3, name);
        const int slave = addInstrument(5, name);
        table.setRole(master, GroupRole::Master);
        table.setRole(slave, GroupRole::Slave);
        table.slot(slave).setup->channel(2).function = ChannelFunction::Off;
    }

    // The .bin writer's file of the merged scans, as a Master run writes it.
    void logFastData(const std::string &path, const std::vector<MadeScan> &owner, const std::vector<MadeScan> &slave) {
        DataFileSetup &file = table.slot(master).setup->dataFile;
        const DataFileSetup kept = file;
        file.format = FileFormat::FastBinary;
        file.path = path;
        file.mode = FileMode::Overwrite;
        DataFile data(dataFileGroupOf(table, master), RegionalFormats{});
        ASSERT_EQ(data.open(kCreated), DataFileOpen::Opened);
        const ScanBatch owners = batchOf(owner);
        const ScanBatch slaves = batchOf(slave, 2);
        DaylightStates states;
        for (int index = 0; index < owners.header().count; ++index) {
            const ScanRecord record = owners.record(index);
            const ScanRecord paired = slaves.record(index);
            const ScanRecord *pairedScans[] = {&paired};
            ASSERT_TRUE(data.writeMerged(record, pairedScans, states));
        }
        ASSERT_TRUE(data.close());
        file = kept;
    }

    // The same scans logged into Trend Link, each instrument's in its data set.
    void logTrendLink(const std::vector<MadeScan> &owner, const std::vector<MadeScan> &slave) {
        auto output = open(master);
        ASSERT_NE(output, nullptr) << ::testing::PrintToString(ui.messageTexts());
        DaylightStates slaveDaylight;
        ASSERT_TRUE(output->writeBatch(3, batchOf(owner), daylight));
        ASSERT_TRUE(output->writeBatch(5, batchOf(slave, 2), slaveDaylight));
        ASSERT_TRUE(output->close());
    }

    // An Async instrument's .bin file of count scans a second apart.
    std::string fastDataFile(const std::string &name, int count) {
        master = addInstrument(7);
        const std::string path = dataPath(name);
        DataFileSetup &file = table.slot(master).setup->dataFile;
        file.format = FileFormat::FastBinary;
        file.path = path;
        file.mode = FileMode::Overwrite;
        DataFile data(dataFileGroupOf(table, master), RegionalFormats{});
        EXPECT_EQ(data.open(kCreated), DataFileOpen::Opened);
        const std::vector<MadeScan> scans = secondsFrom({.totalizer = 1}, count);
        DaylightStates states;
        // As many at a time as a read brings.
        for (std::size_t first = 0; first < scans.size(); first += 50) {
            const ScanBatch batch =
                batchOf({scans.begin() + static_cast<std::ptrdiff_t>(first),
                         scans.begin() + static_cast<std::ptrdiff_t>(std::min(first + 50, scans.size()))});
            for (int index = 0; index < batch.header().count; ++index)
                EXPECT_TRUE(data.writeMerged(batch.record(index), {}, states));
        }
        EXPECT_TRUE(data.close());
        return path;
    }

    ConversionOutcome convert(const std::string &source, const std::string &target, int abortAtLook = 0) {
        RecordingProgress progress(abortAtLook);
        const RegionalFormats formats;
        return convertFile(ConversionKind::BinaryToTrendLink, {source, target}, {formats, ui, &trendLink}, progress);
    }

    // The messages shown since the last look.
    Messages newMessages() {
        const Messages all = ui.messageTexts();
        Messages fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
        seen_ = all.size();
        return fresh;
    }

    std::string registeredDirectory(const std::string &dataSet) const {
        return readProfileString(dir.path() + "/infolink.ini", "Data Sets", dataSet, "", 260);
    }

    int master = 0;

private:
    std::size_t seen_ = 0;
};

// The slave scans 20 ms after its Master, across the second: the file keeps
// only its milliseconds, yet its values come back at its own times.
TEST_F(BinaryToTrendLinkTest, AMasterFileWithASlaveStoresWhatLoggingTheSameScansStores) {
    makeGroup();
    std::vector<MadeScan> owner = secondsFrom({.millisecond = 990, .totalizer = 1}, 30);
    std::vector<MadeScan> slave = secondsFrom({.second = 1, .millisecond = 10, .totalizer = 100}, 30);
    for (std::size_t index = 0; index < slave.size(); ++index)
        slave[index].readings = {0.25f * static_cast<float>(index), -3.5f};
    owner[4].readings = {kOpen, kOverload, -kOverload};
    slave[7].readings = {-kOverload, kOpen};
    owner[9].dio = 0x5A;
    owner[9].alarm1 = 0x4;
    slave[9].alarm2 = 0x1;
    logFastData(dataPath("run.bin"), owner, slave);
    logTrendLink(owner, slave);

    EXPECT_EQ(convert(dataPath("run.bin"), dataPath("converted.set")), ConversionOutcome::Complete);
    EXPECT_EQ(newMessages(), Messages{"Conversion is complete!"});
    for (const auto &[logged, converted] :
         {std::pair{"logged-03m", "converted-03m"}, std::pair{"logged-05s", "converted-05s"}}) {
        SCOPED_TRACE(converted);
        const std::vector<std::string> tags = kvtest::storedTags(logged);
        EXPECT_EQ(kvtest::storedTags(converted), tags);
        for (const std::string &tag : tags) {
            EXPECT_EQ(kvtest::storedValues(converted, tag), kvtest::storedValues(logged, tag)) << tag;
            EXPECT_EQ(kvtest::storedValues(converted, tag).size(), 30u) << tag;
        }
    }
    EXPECT_EQ(kvtest::valuesOf("converted-03m", "0302")[4], 1.0e9);
    EXPECT_EQ(kvtest::timesOf("converted-05s", "0501")[0], localMilliseconds(2024, 7, 1, 12, 0, 1, 10));

    // What the user finds beside the target: the pointer file and the chart.
    EXPECT_EQ(fileBytes(dataPath("converted.set")),
              "The Trend Link files for Data Set(s) for converted reside in the directory:\r\n      " +
                  dataPath("_converted") + std::string(1, '\0'));
    const std::string chart = dataPath("_converted/converte.cht");
    EXPECT_EQ(readProfileString(chart, tl32::kMainSection, tl32::kTitleKey, "", 256), "Boiler house");
    EXPECT_EQ(readProfileString(chart, "Section: Curve #4", tl32::kCurveNameKey, "", 256), "converted-05s:0501");
    EXPECT_TRUE(fs::exists(dataPath("_converted/converted-03m.00001.HIS"))) << "the .NOW file was rolled over";
}

TEST_F(BinaryToTrendLinkTest, ARefusedConversionLeavesNoDataSetBehind) {
    const std::string source = fastDataFile("run.bin", 3);
    const std::string bytes = fileBytes(source);
    std::string header = bytes;
    header.erase(header.find(", \"07ALARM2\""), 12);
    std::ofstream(dataPath("names.bin"), std::ios::binary) << header;
    std::ofstream(dataPath("none.bin"), std::ios::binary) << "\"1\"\r\n\"none.bin\"\r\n";
    const std::string disk = mountPointOf(dir.path());
    const struct {
        const char *what;
        std::string source;
        std::string target;
        std::optional<std::optional<std::uint64_t>> freeSpace;
        std::string message;
    } cases[] = {
        {"a UNC path",
         source,
         "\\\\plant\\data\\run.set",
         {},
         "Trend Link data file paths must begin with a drive letter.  Universal Naming Convention (UNC) path names "
         "are not supported at this time."},
        {"the source itself", source, source, {}, "Cannot create file " + source + "!"},
        {"no Fast data file",
         dataPath("none.bin"),
         dataPath("run.set"),
         {},
         dataPath("none.bin") + " is not a valid Binary file!"},
        {"column names not matching the counts",
         dataPath("names.bin"),
         dataPath("run.set"),
         {},
         dataPath("names.bin") + " is not a valid Binary file!"},
        {"a disk that cannot be asked", source, dataPath("run.set"), std::optional<std::uint64_t>{},
         "Cannot access specified drive " + disk + " for Trend Link data!"},
        {"a full disk", source, dataPath("run.set"), std::optional<std::uint64_t>{100},
         "There is not enough free disk space on " + disk + "\r\n   for the Trend Link Data Set files!"},
    };
    for (const auto &refused : cases) {
        SCOPED_TRACE(refused.what);
        freeSpace.scripted = refused.freeSpace;
        EXPECT_EQ(convert(refused.source, refused.target), ConversionOutcome::Refused);
        EXPECT_EQ(newMessages(), Messages{refused.message});
        EXPECT_FALSE(fs::exists(dataPath("_run")));
        EXPECT_FALSE(fs::exists(dataPath("run.set")));
        EXPECT_EQ(registeredDirectory("run"), "");
    }
    EXPECT_EQ(fileBytes(source), bytes) << "the source is as it was";
}

TEST_F(BinaryToTrendLinkTest, ADataSetHoldingValuesIsRefusedAndLeftAsItWas) {
    const std::string source = fastDataFile("run.bin", 3);
    ASSERT_EQ(convert(source, dataPath("run.set")), ConversionOutcome::Complete);
    EXPECT_EQ(newMessages(), Messages{"Conversion is complete!"});
    EXPECT_EQ(convert(source, dataPath("run.set")), ConversionOutcome::Refused);
    EXPECT_EQ(newMessages(), Messages{"Trend Link Data Set .NOW file already exists!\r\nDelete the Data Set or "
                                      "create a new Data Set."});
    EXPECT_EQ(kvtest::valuesOf("run", "07TOTAL"), (std::vector<double>{1, 2, 3}));

    // A data set that logging fills: its .NOW file is not rolled over by the refusal.
    const int slot = addInstrument(8, "live.set");
    auto output = open(slot);
    ASSERT_NE(output, nullptr);
    ASSERT_TRUE(output->writeBatch(8, batchOf(secondsFrom({}, 2)), daylight));
    ASSERT_TRUE(output->close());
    EXPECT_EQ(convert(source, dataPath("live.set")), ConversionOutcome::Refused);
    EXPECT_EQ(newMessages().size(), 1u);
    EXPECT_FALSE(fs::exists(dataPath("_live/live.00001.HIS")));
    EXPECT_EQ(kvtest::valuesOf("live", "08TOTAL").size(), 2u);
}

TEST_F(BinaryToTrendLinkTest, AbortKeepsWhatWasStoredAndSaysNothing) {
    const std::string source = fastDataFile("long.bin", 6000); // several chunks
    EXPECT_EQ(convert(source, dataPath("long.set"), 2), ConversionOutcome::Aborted);
    EXPECT_TRUE(newMessages().empty());
    const std::vector<double> stored = kvtest::valuesOf("long", "07TOTAL");
    ASSERT_GT(stored.size(), 100u);
    EXPECT_LT(stored.size(), 6000u);
    for (std::size_t index = 0; index < stored.size(); ++index)
        ASSERT_EQ(stored[index], static_cast<double>(index + 1)) << "the first scans, each once";
}

TEST_F(BinaryToTrendLinkTest, HistorianFailuresAreToldWithTheirFunction) {
    const std::string source = fastDataFile("run.bin", 3);
    std::ofstream(dir.path() + "/free", std::ios::binary) << "0";
    ::setenv("TBASE32_FREE_SPACE_FILE", (dir.path() + "/free").c_str(), 1);
    EXPECT_EQ(convert(source, dataPath("full.set")), ConversionOutcome::Refused);
    EXPECT_EQ(newMessages(), Messages{"Cannot add 0701 to the Trend Link Data Set!\r\nCheck amount of free disk "
                                      "space available."});
    ::unsetenv("TBASE32_FREE_SPACE_FILE");

    library.refuseUpdates = true;
    EXPECT_EQ(convert(source, dataPath("run.set")), ConversionOutcome::Refused);
    EXPECT_EQ(newMessages(), Messages{"Instrument 07:  Error returned from Trend Link function "
                                      "TBaseUpdataAllTags: \r\n"});
}

} // namespace
} // namespace korvel
