#include "setup/text_channel.h"
#include "setup/text_form_reader.h"
#include "setup_fixture.h"

#include <temp_dir.h>

#include <gtest/gtest.h>

#include <fstream>

namespace korvel {
namespace {

using test::SetupFixture;

class TextFormTest : public ::testing::Test {
protected:
    TextFormTest() {
        fixture.ccf[5] = ModelCode::M100A;
        fixture.ccf[6] = ModelCode::M200A;
    }

    bool open(const std::string &content) {
        const std::string file = dir.path() + "/text.stp";
        std::ofstream(file, std::ios::binary) << content;
        return fixture.doc.open(file);
    }

    InstrumentSetup &setup(int slot) { return *fixture.instruments.slot(slot).setup; }

    kvtest::TempDir dir;
    SetupFixture fixture;
};

TEST_F(TextFormTest, MissingLoggerSectionIsInvalid) {
    fixture.addInstrument(9, ModelCode::M100A);
    EXPECT_FALSE(open("[Korvel1]\r\nBCN=5\r\n[KorLogger]\r\n"));
    EXPECT_EQ(fixture.ui.messageTexts(), std::vector<std::string>{"Setup File Is Invalid!"});
    EXPECT_EQ(fixture.instruments.count(), 1);
    EXPECT_FALSE(fixture.doc.modified());
}

TEST_F(TextFormTest, InstrumentSettingsAreReadByKeyword) {
    ASSERT_TRUE(open("[korlogger]\r\nSimMode=yes\r\nStatusOnStart=NO\r\nStatusOnAlarm=maybe\r\nPosition=1,2,300,-4\r\n"
                     "[Korvel2]\r\nBCN=5\r\nGroup=master\r\nWiredGroup=No\r\nDescription=Line 2\r\n"
                     "RdgRate=Medium\r\nTempUnits=Fahrenheit\r\nTriggerType=intvl+ext+alarm\r\n"
                     "Intvls=2.5,86400\r\nHousekeeping=No\r\nTrigOut=Yes\r\nStopScanning=Yes\r\nStopIntvl=3602439\r\n"
                     "DataFileEnabled=Yes\r\nDataFile=/data/line2.bin\r\nOverWrite=Yes\r\nFileFormat=binary\r\n"
                     "C1=VDC,3,\r\nMonitorChan=1\r\n"
                     "[Korvel3]\r\nBCN=6\r\nGroup=Slave\r\nMonitorChan=2\r\nStopIntvl=0\r\nIntvls=1,86400.01\r\n"));
    EXPECT_TRUE(fixture.doc.modified());
    EXPECT_TRUE(fixture.options.simulateData);
    EXPECT_FALSE(fixture.options.statusOnStart);
    EXPECT_TRUE(fixture.options.statusOnAlarm);
    EXPECT_FALSE(fixture.options.wiredGroup);
    EXPECT_EQ(fixture.host.mainWindowMoves, (std::vector<WindowRect>{{1, 2, 300, -4}}));

    EXPECT_EQ(fixture.instruments.count(), 2);
    EXPECT_EQ(fixture.instruments.masterSlot(), 2);
    EXPECT_EQ(fixture.instruments.slot(3).role, GroupRole::Slave);
    const InstrumentSetup &line = setup(2);
    EXPECT_EQ(line.description, "Line 2");
    EXPECT_EQ(line.readingRate, ReadingRate::Medium);
    EXPECT_EQ(line.temperatureUnits, TemperatureUnits::Fahrenheit);
    EXPECT_EQ(line.triggerType, TriggerType::IntervalExternalAlarm);
    EXPECT_EQ(line.interval1, 2.5);
    EXPECT_EQ(line.interval2, 86400.0);
    EXPECT_FALSE(line.driftCorrection);
    EXPECT_TRUE(line.triggerOut);
    EXPECT_TRUE(line.stopAfterDuration);
    EXPECT_EQ(line.duration, 3602439u);
    EXPECT_TRUE(line.dataFile.enabled);
    EXPECT_EQ(line.dataFile.path, "/data/line2.bin");
    EXPECT_EQ(line.dataFile.mode, FileMode::Overwrite);
    EXPECT_EQ(line.dataFile.format, FileFormat::FastBinary);
    EXPECT_EQ(line.monitorChannel, 1);

    const InstrumentSetup &slave = setup(3);
    EXPECT_EQ(slave.duration, 3600u);   // a StopIntvl of 0 keeps the default
    EXPECT_EQ(slave.interval2, 0.1);    // 86400.01 is too long
    EXPECT_EQ(slave.monitorChannel, 0); // channel 2 is OFF: no key
    EXPECT_EQ(slave.channel(2).function, ChannelFunction::Off);
    EXPECT_EQ(slave.channel(2).label, "");
}

TEST_F(TextFormTest, InvalidAndRepeatedBcnsAreNotLoaded) {
    fixture.regional.listSeparator = ',';
    ASSERT_TRUE(open("[KorLogger]\r\nSimMode=No\r\n[Korvel1]\r\nBCN=5\r\n[Korvel2]\r\nBCN=5\r\n"
                     "[Korvel4]\r\nBCN=8\r\n[Korvel5]\r\nBCN=100\r\n[Korvel6]\r\nGroup=Master\r\n"
                     "[Plot]\r\nPlotChans=501,801,0502\r\n"));
    EXPECT_EQ(fixture.instruments.count(), 1);
    EXPECT_EQ(fixture.ui.messageTexts(),
              std::vector<std::string>{"Instruments with invalid BCNs (08, 100, 00) not loaded!\n"
                                       "Configure communications with desired BCNs!"});
    EXPECT_TRUE(fixture.doc.modified());
    EXPECT_EQ(fixture.plot.channels, (std::array<std::uint16_t, 8>{501, 0, 502, 0, 0, 0, 0, 0}));
    EXPECT_EQ(fixture.plot.channelCount, 2);
}

TEST_F(TextFormTest, PlotSectionFallsBackOnItsDefaults) {
    ASSERT_TRUE(
        open("[KorLogger]\r\nSimMode=No\r\n[Plot]\r\nSampleInterval=3601\r\nYMinMax=2,2\r\nPosition=1,2,3\r\n"));
    EXPECT_EQ(fixture.plot.samplingInterval, 1);
    EXPECT_EQ(fixture.plot.minimum, 0.0f);
    EXPECT_EQ(fixture.plot.maximum, 5.0f);
    EXPECT_TRUE(fixture.host.plotWindowMoves.empty());

    ASSERT_TRUE(open("[KorLogger]\r\nSimMode=No\r\n[Plot]\r\nYMinMax=-1.5,20\r\nPosition=1,2,3,4\r\n"));
    EXPECT_EQ(fixture.plot.samplingInterval, 20);
    EXPECT_EQ(fixture.plot.minimum, -1.5f);
    EXPECT_EQ(fixture.plot.maximum, 20.0f);
    EXPECT_EQ(fixture.host.plotWindowMoves, (std::vector<WindowRect>{{1, 2, 3, 4}}));
}

TEST_F(TextFormTest, SavedInRecordFormTheWindowsKeepTheirPositions) {
    const std::string text = dir.path() + "/text.stp";
    const std::string record = dir.path() + "/record.stp";
    std::ofstream(text, std::ios::binary) << "[KorLogger]\r\nPosition=1,2,300,400\r\n[Plot]\r\nPosition=5,6,70,80\r\n";
    ASSERT_TRUE(fixture.windowlessDoc.open(text));
    ASSERT_TRUE(fixture.windowlessDoc.save(record));

    SetupFixture reopened;
    ASSERT_TRUE(reopened.doc.open(record));
    EXPECT_EQ(reopened.options.mainWindow, (WindowRect{1, 2, 300, 400}));
    EXPECT_EQ(reopened.host.plotWindowMoves, (std::vector<WindowRect>{{5, 6, 70, 80}}));
}

// Channel values, one instrument at a time.
class TextChannelTest : public ::testing::Test {
protected:
    TextChannelTest() {
        fixture.setupTemplate.offChannel.label = "Label";
        for (int number = 1; number <= kChannelCount; ++number) setup.channel(number) = off();
    }

    const ChannelSetup &off() const { return fixture.setupTemplate.offChannel; }

    ChannelSetup read(const std::string &value, int number, ModelCode model = ModelCode::M100A) {
        return readTextChannel(value, number, setup, model, off());
    }

    // Stores the channel so later channels can refer to it.
    void define(int number, const std::string &value) { setup.channel(number) = read(value, number); }

    SetupFixture fixture;
    InstrumentSetup setup;
};

TEST_F(TextChannelTest, AnalogTypesChooseFunctionAndRange) {
    struct Case {
        const char *value;
        ModelCode model;
        ChannelFunction function;
        RangeCode range;
    };
    const Case cases[] = {
        {"VDC,1,", ModelCode::M100A, ChannelFunction::Vdc, RangeCode::Vdc90mV},
        {"vdc,5,", ModelCode::M100A, ChannelFunction::Vdc, RangeCode::Vdc150_300V},
        {"VDC,6,", ModelCode::M200A, ChannelFunction::Vdc, RangeCode::Vdc50V},
        {"VDC,7,", ModelCode::M100A, ChannelFunction::Vdc, RangeCode::Auto},
        {"VAC,4,", ModelCode::M100A, ChannelFunction::Vac, RangeCode::Vac150_300V},
        {"VAC,4,", ModelCode::M200A, ChannelFunction::Vac, RangeCode::Vac30V},
        {"OHMS2T,1,", ModelCode::M200A, ChannelFunction::Ohms2W, RangeCode::Ohms30k},
        {"OHMS2T,x,", ModelCode::M200A, ChannelFunction::Ohms2W, RangeCode::Auto},
        {"OHMS4T,5,", ModelCode::M200A, ChannelFunction::Ohms4W, RangeCode::Ohms3M},
        {"FREQ,", ModelCode::M100A, ChannelFunction::Freq, RangeCode::Auto},
        {"RTD2W,100,", ModelCode::M100A, ChannelFunction::Rtd2W, RangeCode::RtdFixed385},
        {"RTD2W,100,", ModelCode::M200A, ChannelFunction::Vdc, RangeCode::Vdc3V},
        {"CURR,1,250,", ModelCode::M100A, ChannelFunction::Current, RangeCode::Current4to20mA},
        {"CURR,2,250,", ModelCode::M100A, ChannelFunction::Current, RangeCode::Current0to100mA},
        {"TC,K,1,", ModelCode::M100A, ChannelFunction::Thermocouple, RangeCode::TcK},
        {"TC,k,1,", ModelCode::M100A, ChannelFunction::Thermocouple, RangeCode::TcJ},
        {"SQUARE,1,", ModelCode::M100A, ChannelFunction::Off, RangeCode::Off},
        {"VDC", ModelCode::M100A, ChannelFunction::Off, RangeCode::Off},
        {"", ModelCode::M100A, ChannelFunction::Off, RangeCode::Off},
    };
    for (const Case &c : cases) {
        const ChannelSetup channel = read(c.value, 4, c.model);
        EXPECT_EQ(channel.function, c.function) << c.value;
        EXPECT_EQ(channel.range, c.range) << c.value;
    }
}

TEST_F(TextChannelTest, ResistancesOutsideTheirLimitsTakeTheUsualValues) {
    EXPECT_EQ(read("RTD4W,1010,", 1).r0, 1010.0);
    EXPECT_EQ(read("RTD4W,9.5,", 1).r0, 100.0);
    EXPECT_EQ(read("RTD4W,", 1).r0, 100.0);
    EXPECT_EQ(read("CURR,1,10,", 1).shunt, 10.0);
    EXPECT_EQ(read("CURR,1,251,", 1).shunt, 10.0);
    EXPECT_TRUE(read("TC,B,1,", 1).openTcDetect);
    EXPECT_FALSE(read("TC,B,0,", 1).openTcDetect);
}

TEST_F(TextChannelTest, ComputedChannelsUseOnlyDefinedLowerChannels) {
    define(2, "VDC,3,");
    define(3, "VDC,3,");
    define(7, "FREQ,");
    // Channel 7 is not lower than 5.
    EXPECT_EQ(read("DIFF,7,2,", 5).function, ChannelFunction::Off);

    EXPECT_EQ(read("DIFF,7,2,", 21).function, ChannelFunction::ChanAMinusChanB);
    EXPECT_EQ(read("DIFF,1,2,", 21).function, ChannelFunction::Off); // channel 1 is OFF
    EXPECT_EQ(read("DIFF,22,2,", 21).function, ChannelFunction::Off);

    const ChannelSetup average =
        read("AVG," + std::to_string(channelBit(1) | channelBit(2) | channelBit(3) | channelBit(22)) + ",", 21);
    EXPECT_EQ(average.function, ChannelFunction::Average);
    EXPECT_EQ(average.averageSet, channelBit(2) | channelBit(3));
    EXPECT_EQ(read("AVG," + std::to_string(channelBit(1)) + ",", 21).function, ChannelFunction::Off);
    EXPECT_EQ(read("AVG,x,", 21).function, ChannelFunction::Off);

    const ChannelSetup difference = read("DIFFAVG,7," + std::to_string(channelBit(2)) + ",", 21);
    EXPECT_EQ(difference.function, ChannelFunction::ChanAMinusAverage);
    EXPECT_EQ(difference.channelA, 7);
    EXPECT_EQ(read("DIFFAVG,8," + std::to_string(channelBit(2)) + ",", 21).function, ChannelFunction::Off);
}

TEST_F(TextChannelTest, FourWireChannelsKeepChannelsElevenToTwentyFree) {
    define(3, "OHMS4T,2,");
    EXPECT_EQ(read("VDC,3,", 13).function, ChannelFunction::Off);
    EXPECT_EQ(read("RTD4W,100,", 14).function, ChannelFunction::Off);
    EXPECT_EQ(read("VDC,3,", 21).function, ChannelFunction::Off); // no measurement on a computed channel
}

TEST_F(TextChannelTest, ScalingAlarmsAndUnitsFollowTheTypeFields) {
    const ChannelSetup channel = read("VDC,3,2.5,-1,1,2,50.5,3,1,-2,8,Volts,x", 1);
    EXPECT_TRUE(channel.mxbEnabled);
    EXPECT_EQ(channel.m, 2.5);
    EXPECT_EQ(channel.b, -1.0);
    EXPECT_TRUE(channel.alarmTrigger);
    EXPECT_EQ(channel.alarm1, (AlarmSetup{AlarmSense::Hi, 50.5, static_cast<AlarmOutput>(214)}));
    EXPECT_EQ(channel.alarm2, (AlarmSetup{AlarmSense::Lo, -2.0, AlarmOutput::Do7}));
    EXPECT_EQ(channel.unitsLabel, "Volts,x");

    const ChannelSetup plain = read("FREQ,1.000001,0,0,3,1,0,0,0,9,Hz per second\r", 1);
    EXPECT_FALSE(plain.mxbEnabled);
    EXPECT_EQ(plain.m, 1.0);
    EXPECT_FALSE(plain.alarmTrigger);
    EXPECT_EQ(plain.alarm1, AlarmSetup{}); // sense index 3
    EXPECT_EQ(plain.alarm2, AlarmSetup{}); // output index 9
    EXPECT_EQ(plain.unitsLabel, "Hz per sec");

    const ChannelSetup huge = read("FREQ,1e10,5,", 1);
    EXPECT_FALSE(huge.mxbEnabled);
    EXPECT_EQ(huge.b, 0.0);
}

TEST_F(TextChannelTest, DegreesBecomeTheInstrumentsTemperatureUnits) {
    EXPECT_EQ(read("TC,J,1,1,0,1,0,0,0,0,0,0,Degrees", 1).unitsLabel, kCelsiusUnitsLabel);
    setup.temperatureUnits = TemperatureUnits::Fahrenheit;
    EXPECT_EQ(read("RTD4W,100,1,0,1,0,0,0,0,0,0,Degrees", 1).unitsLabel, kFahrenheitUnitsLabel);
    EXPECT_EQ(read("VDC,3,1,0,1,0,0,0,0,0,0,Degrees", 1).unitsLabel, "Degrees");
}

} // namespace
} // namespace korvel
