// The rules of the "Calibration Steps" dialog: it walks the instrument
// through the steps of one function. For each step the instrument names the
// reference to apply; the user applies it, corrects the actual value when the
// source gives another, and has the instrument perform the step, until no
// step remains.
#pragma once

#include <functional>
#include <string>

#include "platform/user_interface.h"
#include "setup/calibration_exchange.h"
#include "setup/calibration_functions.h"

namespace korvel {

class CalibrationSteps {
public:
    static constexpr int kActualValueLength = 20; // characters the field takes
    enum class Focus { ActualValue, Done };

    CalibrationSteps(CalibrationFunction function, CalibrationExchange &exchange, UserInterface &ui,
                     char decimalSymbol);

    // Called with true while the instrument performs a step, and with false
    // once it has; the dialog is disabled meanwhile.
    void onStepRunning(std::function<void(bool)> running) { stepRunning_ = std::move(running); }

    // Puts the instrument into calibration of the function and fetches the
    // first step. False, after telling the user why, when the dialog is to
    // close at once.
    bool begin();

    // "Perform Calibration Step" with the actual-value field's text.
    void performStep(const std::string &actualText);

    std::string caption() const;
    // The "Apply:" line: the reference with its unit.
    std::string applyText() const;
    // The unit beside the actual-value field.
    std::string unitText() const;
    // What the actual-value field holds.
    const std::string &actualText() const { return actualText_; }

    bool complete() const { return complete_; } // Done enabled and default; Cancel and Perform disabled
    Focus focus() const { return complete_ ? Focus::Done : Focus::ActualValue; }

private:
    void fetchStep();
    // Shows the message of a failed command; true when the command succeeded.
    bool succeeded(CalibrationResult result, int refusedMessage);
    bool sendActualValue(const std::string &actualText);
    void setStepRunning(bool running);

    CalibrationFunction function_;
    CalibrationExchange &exchange_;
    UserInterface &ui_;
    char decimalSymbol_;
    std::function<void(bool)> stepRunning_;
    float reference_ = 0.0f;
    ShownReference shown_;
    std::string actualText_;
    bool complete_ = false;
};

} // namespace korvel
