#include "setup/little_endian.h"
#include "setup/record_form_reader.h"
#include "setup/record_form_writer.h"
#include "setup/setup_crc.h"
#include "setup/setup_records.h"
#include "setup_fixture.h"

#include <temp_dir.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include <sys/stat.h>

namespace korvel {
namespace {

using test::SetupFixture;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kEmptySetupSize = 272;
constexpr std::size_t kInstrumentStart = kFileHeaderSize + kInstrumentListSize + kFillerSize;

Bytes fileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A setup that uses every kind of channel, alarms, scaling, equations and a group.
void buildFullSetup(SetupFixture &setup) {
    InstrumentSetup &master = setup.addInstrument(5, ModelCode::M100A);
    InstrumentSetup &slave = setup.addInstrument(17, ModelCode::M200A);
    setup.instruments.setRole(1, GroupRole::Master);
    setup.instruments.setRole(2, GroupRole::Slave);
    setup.options.wiredGroup = false;
    setup.options.simulateData = true;
    setup.options.mainWindow = {10, 20, 630, 470};
    setup.options.splitterHeight = 144;
    setup.host.plotWindow = {-4, 5, 300, 200};
    setup.plot = {-1.5f, 12.25f, 30, 2, {501, 1705, 0, 0, 0, 0, 0, 0}};

    master.description = "Boiler room";
    master.temperatureUnits = TemperatureUnits::Fahrenheit;
    master.monitorChannel = 6;
    master.triggerType = TriggerType::IntervalExternalAlarm;
    master.interval1 = 2.5;
    master.interval2 = 0.25;
    master.readingRate = ReadingRate::Fast;
    master.stopAfterDuration = true;
    master.duration = 7200;
    master.toolboxQueueSize = 4096;
    master.dataFile = {true,
                       "/data/boiler.csv",
                       "first run",
                       FileMode::Overwrite,
                       FileFormat::TrendLink,
                       RolloverMode::FileSize,
                       2000,
                       1,
                       5000,
                       90,
                       480,
                       "Batch A",
                       3,
                       6};

    const ChannelFunction analog[] = {ChannelFunction::Vdc,    ChannelFunction::Vac,          ChannelFunction::Ohms2W,
                                      ChannelFunction::Ohms4W, ChannelFunction::Thermocouple, ChannelFunction::Rtd2W,
                                      ChannelFunction::Rtd4W,  ChannelFunction::Freq,         ChannelFunction::Current};
    const RangeCode ranges[] = {RangeCode::Vdc150_300V,  RangeCode::Vac150_300V, RangeCode::Ohms300,
                                RangeCode::Ohms3M,       RangeCode::TcK,         RangeCode::RtdFixed385,
                                RangeCode::RtdCustom385, RangeCode::Auto,        RangeCode::Current4to20mA};
    for (int i = 0; i < 9; ++i) {
        ChannelSetup &channel = master.channel(i + 1);
        channel.function = analog[i];
        channel.range = ranges[i];
        channel.unitsLabel = "u" + std::to_string(i);
    }
    master.channel(7).alpha = 0.00385055;
    master.channel(7).r0 = 100.0;
    master.channel(9).shunt = 250.0;
    ChannelSetup &scaled = master.channel(1);
    scaled.mxbEnabled = true;
    scaled.m = 6.25;
    scaled.b = -25.0;
    scaled.alarm1 = {AlarmSense::Hi, 80.5, static_cast<AlarmOutput>(214)};
    scaled.alarm2 = {AlarmSense::Lo, -3.0, AlarmOutput::Do7};
    scaled.alarmTrigger = false;
    scaled.deadband = 0.5f;
    scaled.label = "Inlet";

    master.channel(21).function = ChannelFunction::Average;
    master.channel(21).averageSet = channelBit(1) | channelBit(2);
    master.channel(22).function = ChannelFunction::ChanAMinusChanB;
    master.channel(22).channelA = 3;
    master.channel(22).channelB = 21;
    master.channel(23).function = ChannelFunction::ChanAMinusAverage;
    master.channel(23).channelA = 5;
    master.channel(23).averageSet = channelBit(6);
    master.channel(24).function = ChannelFunction::Equation;
    master.channel(24).compiledSize = 17;
    master.channel(24).equationSet = channelBit(1) | channelBit(23);
    master.equation(24) = "(C1+C23)/2";
    master.channel(30).function = ChannelFunction::Equation;
    master.equation(30) = std::string(100, 'x');

    slave.channel(2) = setup.setupTemplate.offChannel;
    slave.channel(20).function = ChannelFunction::Vdc;
    slave.channel(20).range = RangeCode::Vdc50V;
}

// The length an equation record carries: its text and the zero.
void setEquationLengths(InstrumentSetup &setup) {
    for (int number = kFirstComputedChannel; number <= kChannelCount; ++number) {
        if (setup.channel(number).function == ChannelFunction::Equation) {
            setup.channel(number).equationLength = static_cast<std::uint16_t>(setup.equation(number).size() + 1);
        }
    }
}

class RecordFormTest : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return dir.path() + "/" + name; }

    kvtest::TempDir dir;
    SetupFixture saved;
    SetupFixture opened;
};

TEST(SetupCrcTest, HasTheModbusParameters) {
    const std::string text = "123456789";
    SetupCrc crc;
    crc.update(std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()));
    EXPECT_EQ(crc.value(), 0x4B37);
}

TEST_F(RecordFormTest, EmptySetupIs272BytesAndReopensUnmodified) {
    ASSERT_TRUE(saved.doc.save(path("empty.stp")));
    const Bytes bytes = fileBytes(path("empty.stp"));
    ASSERT_EQ(bytes.size(), kEmptySetupSize);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 10), (Bytes{0, 0x65, 0, 0x6E, 'L', 'C', '3', '.', '0', 0}));
    SetupCrc whole;
    whole.update(bytes);
    EXPECT_EQ(whole.value(), 0);

    opened.addInstrument(9, ModelCode::M100A);
    ASSERT_TRUE(opened.doc.open(path("empty.stp")));
    EXPECT_EQ(opened.instruments.count(), 0);
    EXPECT_FALSE(opened.doc.modified());
    EXPECT_TRUE(opened.ui.messageTexts().empty());
}

TEST_F(RecordFormTest, OnlyDefinedChannelsAreStored) {
    InstrumentSetup &setup = saved.addInstrument(3, ModelCode::M100A);
    for (int number = 1; number <= kChannelCount; ++number) setup.channel(number) = saved.setupTemplate.offChannel;
    setup.channel(3).function = ChannelFunction::Freq;
    const Bytes bytes = writeRecordForm(saved.instruments, saved.options, {}, saved.plot);

    ASSERT_EQ(bytes.size(), kEmptySetupSize + kSetupHeaderSize + 4 + kChannelRecordSize + kFillerSize);
    EXPECT_EQ(le::getU32(bytes, kInstrumentStart + kSetupHeaderSize), 1u << 2);
    EXPECT_EQ(le::getU16(bytes, kInstrumentStart + kSetupHeaderSize + 4), 104);
}

TEST_F(RecordFormTest, EquationTextFollowsItsRecordWithTheZero) {
    InstrumentSetup &setup = saved.addInstrument(3, ModelCode::M100A);
    setup.channel(25).function = ChannelFunction::Equation;
    setup.channel(25).equationLength = 40; // stale: the save uses the text
    setup.equation(25) = "C1*C2";
    const Bytes bytes = writeRecordForm(saved.instruments, saved.options, {}, saved.plot);

    const std::size_t record = kInstrumentStart + kSetupHeaderSize + 4 + 3 * (kChannelRecordSize + kFillerSize);
    EXPECT_EQ(le::getU16(bytes, record), 109);
    EXPECT_EQ(le::getU16(bytes, record + 12), 6);
    const std::size_t text = record + kChannelRecordSize;
    EXPECT_EQ(Bytes(bytes.begin() + static_cast<long>(text), bytes.begin() + static_cast<long>(text) + 6),
              (Bytes{'C', '1', '*', 'C', '2', 0}));
    EXPECT_EQ(bytes.size(), kEmptySetupSize + kSetupHeaderSize + 4 + 4 * (kChannelRecordSize + kFillerSize) + 6);
}

TEST_F(RecordFormTest, FullSetupRoundTripsUnchanged) {
    buildFullSetup(saved);
    ASSERT_TRUE(saved.doc.save(path("full.stp")));
    opened.ccf = saved.ccf;
    ASSERT_TRUE(opened.doc.open(path("full.stp")));
    EXPECT_TRUE(opened.ui.messageTexts().empty());
    EXPECT_FALSE(opened.doc.modified());

    ASSERT_EQ(opened.instruments.count(), 2);
    EXPECT_EQ(opened.instruments.masterSlot(), 1);
    for (int slot = 1; slot <= 2; ++slot) {
        const InstrumentSlot &expected = saved.instruments.slot(slot);
        const InstrumentSlot &actual = opened.instruments.slot(slot);
        EXPECT_EQ(actual.bcn, expected.bcn);
        EXPECT_EQ(actual.model, expected.model);
        EXPECT_EQ(actual.role, expected.role);
        InstrumentSetup want = *expected.setup;
        setEquationLengths(want);
        EXPECT_EQ(*actual.setup, want) << "slot " << slot;
    }
    EXPECT_EQ(opened.plot, saved.plot);
    EXPECT_EQ(opened.options.mainWindow, saved.options.mainWindow);
    EXPECT_EQ(opened.options.splitterHeight, 144);
    EXPECT_FALSE(opened.options.wiredGroup);
    EXPECT_TRUE(opened.options.simulateData);
    EXPECT_EQ(opened.host.mainWindowMoves, std::vector<WindowRect>{saved.options.mainWindow});
    EXPECT_EQ(opened.host.plotWindowMoves, std::vector<WindowRect>{saved.host.plotWindow});

    opened.host.plotWindow = saved.host.plotWindow;
    ASSERT_TRUE(opened.doc.save(path("again.stp")));
    EXPECT_EQ(fileBytes(path("again.stp")), fileBytes(path("full.stp")));
}

// Without a plot window the setup keeps its place as read, as it keeps the
// main window's.
TEST_F(RecordFormTest, OpenedAndSavedWithoutWindowsTheSetupIsUnchanged) {
    buildFullSetup(saved);
    ASSERT_TRUE(saved.doc.save(path("full.stp")));
    opened.ccf = saved.ccf;
    ASSERT_TRUE(opened.windowlessDoc.open(path("full.stp")));
    ASSERT_TRUE(opened.windowlessDoc.save(path("again.stp")));
    EXPECT_EQ(fileBytes(path("again.stp")), fileBytes(path("full.stp")));
}

TEST_F(RecordFormTest, SettingsOfThisPcAreNotTakenFromTheFile) {
    saved.options.memoryWrapAround = false;
    saved.options.alarmCheckIntervalM100A = 5.0;
    saved.options.configurationLockout = true;
    ASSERT_TRUE(saved.doc.save(path("options.stp")));
    ASSERT_TRUE(opened.doc.open(path("options.stp")));
    EXPECT_TRUE(opened.options.memoryWrapAround);
    EXPECT_EQ(opened.options.alarmCheckIntervalM100A, 1.0);
    EXPECT_FALSE(opened.options.configurationLockout);
}

TEST_F(RecordFormTest, ChangedCrcByteIsInvalid) {
    saved.addInstrument(3, ModelCode::M100A);
    ASSERT_TRUE(saved.doc.save(path("crc.stp")));
    Bytes bytes = fileBytes(path("crc.stp"));
    bytes.back() ^= 0x01;
    writeBytes(path("crc.stp"), bytes);
    opened.ccf = saved.ccf;

    EXPECT_FALSE(opened.doc.open(path("crc.stp")));
    EXPECT_EQ(opened.ui.messageTexts(), std::vector<std::string>{"Setup File Is Invalid!"});
    EXPECT_EQ(opened.instruments.count(), 1); // instruments read so far stay
    EXPECT_TRUE(opened.doc.modified());
}

TEST_F(RecordFormTest, NewerVersionIsRefusedWithItsText) {
    ASSERT_TRUE(saved.doc.save(path("version.stp")));
    Bytes bytes = fileBytes(path("version.stp"));
    bytes[8] = '1';
    writeBytes(path("version.stp"), bytes);
    opened.addInstrument(9, ModelCode::M100A);

    EXPECT_FALSE(opened.doc.open(path("version.stp")));
    EXPECT_EQ(opened.ui.messageTexts(),
              std::vector<std::string>{"Korvel Logger is not compatible with Setup File version: 3.1"});
    EXPECT_EQ(opened.instruments.count(), 1);
    EXPECT_FALSE(opened.doc.modified());
}

TEST_F(RecordFormTest, ModelOfTheCommunicationsConfigurationRepairsRanges) {
    InstrumentSetup &setup = saved.addInstrument(5, ModelCode::M100A);
    const std::pair<ChannelFunction, RangeCode> stored[] = {
        {ChannelFunction::Vdc, RangeCode::Vdc150_300V}, {ChannelFunction::Rtd2W, RangeCode::RtdFixed385},
        {ChannelFunction::Vac, RangeCode::Vac150_300V}, {ChannelFunction::Ohms2W, RangeCode::Ohms3k},
        {ChannelFunction::Ohms2W, RangeCode::Auto},     {ChannelFunction::Ohms4W, RangeCode::Ohms300}};
    for (int i = 0; i < 6; ++i) std::tie(setup.channel(i + 1).function, setup.channel(i + 1).range) = stored[i];
    ASSERT_TRUE(saved.doc.save(path("m100a.stp")));
    opened.ccf[5] = ModelCode::M200A;

    ASSERT_TRUE(opened.doc.open(path("m100a.stp")));
    const InstrumentSlot &slot = opened.instruments.slot(1);
    EXPECT_EQ(slot.model, ModelCode::M200A);
    const std::pair<ChannelFunction, RangeCode> repaired[] = {
        {ChannelFunction::Vdc, RangeCode::Vdc50V},  {ChannelFunction::Vdc, RangeCode::Vdc3V},
        {ChannelFunction::Vac, RangeCode::Vac30V},  {ChannelFunction::Ohms2W, RangeCode::Ohms30k},
        {ChannelFunction::Ohms2W, RangeCode::Auto}, {ChannelFunction::Ohms4W, RangeCode::Ohms300}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(slot.setup->channel(i + 1).function, repaired[i].first) << i + 1;
        EXPECT_EQ(slot.setup->channel(i + 1).range, repaired[i].second) << i + 1;
    }

    // And back: 50 V becomes 150/300 V on an M100A.
    opened.ccf[5] = ModelCode::M100A;
    ASSERT_TRUE(opened.doc.save(path("m200a.stp")));
    SetupFixture third;
    third.ccf[5] = ModelCode::M100A;
    ASSERT_TRUE(third.doc.open(path("m200a.stp")));
    EXPECT_EQ(third.instruments.slot(1).setup->channel(1).range, RangeCode::Vdc150_300V);
}

TEST_F(RecordFormTest, InstrumentsMissingFromTheCommunicationsConfigurationAreDroppedAndListed) {
    saved.addInstrument(5, ModelCode::M100A);
    saved.addInstrument(7, ModelCode::M100A).channel(25).function = ChannelFunction::Equation;
    saved.addInstrument(12, ModelCode::M200A);
    saved.instruments.setRole(2, GroupRole::Master);
    saved.instruments.setRole(3, GroupRole::Slave);
    saved.plot.channels = {501, 701, 1202, 0, 0, 0, 0, 0};
    saved.plot.channelCount = 3;
    saved.options.statusOnStart = false;
    ASSERT_TRUE(saved.doc.save(path("dropped.stp")));
    opened.ccf[12] = ModelCode::M200A;
    opened.regional.listSeparator = ';';

    ASSERT_TRUE(opened.doc.open(path("dropped.stp")));
    EXPECT_EQ(opened.ui.messageTexts(), std::vector<std::string>{"Instruments with invalid BCNs (05; 07) not loaded!\n"
                                                                 "Configure communications with desired BCNs!"});
    EXPECT_TRUE(opened.doc.modified());
    EXPECT_EQ(opened.instruments.count(), 1);
    EXPECT_EQ(opened.instruments.slot(3).bcn, 12);
    EXPECT_EQ(opened.instruments.slot(3).role, GroupRole::Async); // its Master was dropped
    EXPECT_FALSE(opened.options.statusOnStart);
    EXPECT_EQ(opened.plot.channels, (std::array<std::uint16_t, 8>{0, 0, 1202, 0, 0, 0, 0, 0}));
    EXPECT_EQ(opened.plot.channelCount, 1);
}

TEST_F(RecordFormTest, RefusedToolboxQueuesAreWarnedOnceAndMarkTheSetupModified) {
    saved.addInstrument(5, ModelCode::M100A).toolboxQueueSize = 1000;
    saved.addInstrument(6, ModelCode::M100A).toolboxQueueSize = 2000;
    ASSERT_TRUE(saved.doc.save(path("queues.stp")));
    opened.ccf = saved.ccf;
    opened.host.toolbox = true;
    opened.host.refusedQueueBcn = 6;

    ASSERT_TRUE(opened.doc.open(path("queues.stp")));
    ASSERT_EQ(opened.ui.messageTexts().size(), 1u);
    EXPECT_EQ(opened.ui.messageTexts()[0].rfind("Warning: Unable to allocate", 0), 0u);
    EXPECT_EQ(opened.instruments.slot(1).setup->toolboxQueueSize, 1000u);
    EXPECT_EQ(opened.instruments.slot(2).setup->toolboxQueueSize, 0u);
    EXPECT_TRUE(opened.doc.modified());
}

class DamagedRecordFormTest : public RecordFormTest {
protected:
    void SetUp() override {
        buildFullSetup(saved);
        opened.ccf = saved.ccf;
        bytes = writeRecordForm(saved.instruments, saved.options, {}, saved.plot);
    }

    LoadOutcome::Status read(std::span<const std::uint8_t> file) {
        SetupTarget target = opened.target();
        return readRecordForm(file, target).status;
    }

    Bytes bytes;
};

TEST_F(DamagedRecordFormTest, EveryTruncationIsInvalid) {
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        ASSERT_EQ(read(std::span(bytes).first(size)), LoadOutcome::Status::Invalid) << size;
    }
    EXPECT_EQ(read(bytes), LoadOutcome::Status::Loaded);
}

TEST_F(DamagedRecordFormTest, BadListsAndEquationLengthsAreInvalid) {
    Bytes tooMany = bytes;
    le::putU16(tooMany, kFileHeaderSize, 21);
    EXPECT_EQ(read(tooMany), LoadOutcome::Status::Invalid);

    const std::size_t equation = kInstrumentStart + kSetupHeaderSize + 4 + 12 * (kChannelRecordSize + kFillerSize);
    ASSERT_EQ(le::getU16(bytes, equation), 109);
    Bytes longEquation = bytes;
    le::putU16(longEquation, equation + 12, 102);
    EXPECT_EQ(read(longEquation), LoadOutcome::Status::Invalid);
}

// Whatever garbage comes, the reader stays within the data (the sanitizers
// watch that) and the file's check refuses every changed one.
TEST_F(DamagedRecordFormTest, GarbageNeverReadsPastTheDataAndIsRefused) {
    std::mt19937 random(1234);
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = bytes;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        damaged.resize(random() % (damaged.size() + 1));
        const LoadOutcome::Status status = read(damaged);
        if (damaged == bytes)
            EXPECT_EQ(status, LoadOutcome::Status::Loaded) << "round " << round << " changed nothing";
        else
            EXPECT_NE(status, LoadOutcome::Status::Loaded) << "round " << round;
    }
}

TEST_F(RecordFormTest, FailedSaveKeepsThePreviousFileAndLeavesNoTemporary) {
    saved.addInstrument(3, ModelCode::M100A);
    ASSERT_TRUE(saved.doc.save(path("keep.stp")));
    const Bytes before = fileBytes(path("keep.stp"));
    saved.doc.setModified(true);

    EXPECT_FALSE(saved.doc.save(path("missing/keep.stp")));
    EXPECT_EQ(saved.ui.messageTexts(), std::vector<std::string>{"Unable to Write to Setup File!"});

    // A directory in the file's place cannot be replaced.
    const std::string directory = path("taken.stp");
    ASSERT_EQ(::mkdir(directory.c_str(), 0755), 0);
    saved.addInstrument(4, ModelCode::M100A);
    EXPECT_FALSE(saved.doc.save(directory));
    EXPECT_TRUE(saved.doc.modified());
    EXPECT_EQ(fileBytes(path("keep.stp")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // keep.stp, taken.stp
}

} // namespace
} // namespace korvel
