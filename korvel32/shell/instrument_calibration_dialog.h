// "Instrument Calibration": the serial port and baud rate that reach the
// instrument, and one button per function that runs its calibration steps.
// The rules are InstrumentCalibration's; this dialog only shows them.
#pragma once

#include "setup/calibration_functions.h"
#include "setup/instrument_calibration.h"

#include <QDialog>

#include <map>

class QComboBox;
class QPushButton;

namespace korvel {

class InstrumentCalibrationDialog : public QDialog {
    Q_OBJECT

public:
    InstrumentCalibrationDialog(CalibrationPortSettings &settings, UserInterface &ui, char decimalSymbol,
                                QWidget *parent = nullptr, CalibrationTimeLimits limits = {});

    QComboBox &portList() { return *ports_; }
    QComboBox &baudList() { return *bauds_; }
    QPushButton &functionButton(CalibrationFunction function) { return *functionButtons_.at(function); }
    QPushButton &closeButton() { return *close_; }

    // Every way of closing comes here: an instrument that was calibrated is
    // reset first, with the dialog disabled meanwhile.
    void done(int result) override;

private:
    void calibrate(CalibrationFunction function);

    InstrumentCalibration calibration_;
    UserInterface &ui_;
    char decimalSymbol_;
    QComboBox *ports_;
    QComboBox *bauds_;
    std::map<CalibrationFunction, QPushButton *> functionButtons_;
    QPushButton *close_;
};

} // namespace korvel
