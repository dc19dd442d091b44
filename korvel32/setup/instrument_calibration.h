// The rules of the "Instrument Calibration" dialog: which serial port and
// baud rate reach the instrument, and a button per function that runs its
// calibration steps over that port. An instrument that was calibrated is
// reset when the dialog closes, so that it leaves calibration mode.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "setup/calibration_exchange.h"

namespace korvel {

// Kept for as long as the logger runs.
struct CalibrationPortSettings {
    int port = 0; // COM1 .. COM4
    int baud = 2; // 4800, 9600, 19.2K, 38.4K
};

// The texts of the port and baud lists, in the order of the settings' indexes.
std::vector<std::string> calibrationPortNames();
std::vector<std::string> calibrationBaudNames();

class InstrumentCalibration {
public:
    InstrumentCalibration(CalibrationPortSettings &settings, UserInterface &ui, CalibrationTimeLimits limits = {});

    // A change of selection is kept at once.
    void selectPort(int index);
    void selectBaud(int index);
    const CalibrationPortSettings &settings() const { return settings_; }

    // A function's button: opens the port and hands runSteps an exchange over
    // it; the port is closed when runSteps returns. Tells the user when the
    // port cannot be opened.
    void calibrate(const std::function<void(CalibrationExchange &)> &runSteps);
    bool calibrationRun() const { return calibrationRun_; }

    // On close: "*RST" to an instrument that was calibrated.
    void resetAfterCalibration();

private:
    bool openPort(SerialPort &port) const;

    CalibrationPortSettings &settings_;
    UserInterface &ui_;
    CalibrationTimeLimits limits_;
    bool calibrationRun_ = false;
};

} // namespace korvel
