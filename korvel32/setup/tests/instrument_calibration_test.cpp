// The Instrument Calibration rules: the remembered port and baud rate, the
// port each function's steps run over, and the reset after a calibration.
#include "setup/instrument_calibration.h"

#include "scripted_user_interface.h"

#include <gtest/gtest.h>

#include <sim_process.h>

#include <cstdlib>

namespace korvel {
namespace {

using Lines = std::vector<std::string>;

class InstrumentCalibrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KORVEL32_COM1", (missing.path() + "/ttyS0").c_str(), 1);
        setenv("KORVEL32_COM3", sim.serialPath().c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KORVEL32_COM1");
        unsetenv("KORVEL32_COM3");
    }

    kvtest::TempDir missing;
    kvtest::SimProcess sim{{"--serial"}};
    ScriptedUserInterface ui;
    CalibrationPortSettings settings;
};

TEST_F(InstrumentCalibrationTest, ListsStartAtComOneAndNineteenTwoKAndChoicesOutliveTheDialog) {
    EXPECT_EQ(calibrationPortNames(), (Lines{"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(calibrationBaudNames(), (Lines{"4800", "9600", "19.2K", "38.4K"}));
    EXPECT_EQ(settings.port, 0);
    EXPECT_EQ(settings.baud, 2);
    {
        InstrumentCalibration dialog(settings, ui);
        dialog.selectPort(3);
        dialog.selectBaud(0);
        dialog.selectPort(4);  // no such entry
        dialog.selectBaud(-1); // nothing selected
    }
    InstrumentCalibration reopened(settings, ui);
    EXPECT_EQ(reopened.settings().port, 3);
    EXPECT_EQ(reopened.settings().baud, 0);
}

TEST_F(InstrumentCalibrationTest, StepsRunOverTheChosenPortWhichIsClosedAfterAndResetOnClose) {
    ASSERT_EQ(sim.control("serial baud 38400"), "ok");
    InstrumentCalibration dialog(settings, ui);
    dialog.selectPort(2);
    dialog.selectBaud(3);
    bool ran = false;
    dialog.calibrate([&](CalibrationExchange &exchange) {
        ran = true;
        EXPECT_EQ(exchange.enterCalibration(2), CalibrationResult::Success);
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialog.calibrationRun());
    SerialPort other;
    EXPECT_TRUE(other.open(sim.serialPath(), 38400)); // the port was let go
    other.close();
    dialog.resetAfterCalibration();
    EXPECT_EQ(sim.serialReceived(), (Lines{"CAL 2", "*RST"}));
    EXPECT_EQ(sim.serialState("resets"), "1");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(InstrumentCalibrationTest, APortThatCannotBeOpenedIsToldAndNothingIsReset) {
    InstrumentCalibration dialog(settings, ui);
    dialog.calibrate([](CalibrationExchange &) { ADD_FAILURE() << "steps without a port"; });
    EXPECT_EQ(ui.messageTexts(), Lines{"Unable to open RS232 port!"});
    EXPECT_FALSE(dialog.calibrationRun());
    dialog.selectPort(2);
    dialog.resetAfterCalibration();
    EXPECT_TRUE(sim.serialReceived().empty());
}

TEST_F(InstrumentCalibrationTest, APortInUseCannotBeOpened) {
    SerialPort holder;
    ASSERT_TRUE(holder.open(sim.serialPath(), 19200));
    InstrumentCalibration dialog(settings, ui);
    dialog.selectPort(2);
    dialog.calibrate([](CalibrationExchange &) { ADD_FAILURE() << "steps on a port in use"; });
    EXPECT_EQ(ui.messageTexts(), Lines{"Unable to open RS232 port!"});
}

} // namespace
} // namespace korvel
