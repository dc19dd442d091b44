// "Calibration Steps": shows the reference the instrument wants applied, takes
// the value actually applied, and has the instrument perform each step in
// turn. The rules are CalibrationSteps'; this dialog only shows them.
#pragma once

#include "setup/calibration_steps.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvel {

class CalibrationStepsDialog : public QDialog {
    Q_OBJECT

public:
    CalibrationStepsDialog(CalibrationFunction function, CalibrationExchange &exchange, UserInterface &ui,
                           char decimalSymbol, QWidget *parent = nullptr);

    // Puts the instrument into calibration; false when the dialog is not to
    // be shown (the user has been told why).
    bool begin();

    QLineEdit &actualValue() { return *actualValue_; }
    QPushButton &performButton() { return *perform_; }
    QPushButton &doneButton() { return *done_; }
    QPushButton &cancelButton() { return *cancel_; }

private:
    void performStep();
    void refresh();

    CalibrationSteps steps_;
    QLabel *applyLine_;
    QLineEdit *actualValue_;
    QLabel *unit_;
    QPushButton *perform_;
    QPushButton *done_;
    QPushButton *cancel_;
};

// The dialog as a function's button runs it.
void runCalibrationSteps(CalibrationFunction function, CalibrationExchange &exchange, UserInterface &ui,
                         char decimalSymbol, QWidget *parent);

} // namespace korvel
