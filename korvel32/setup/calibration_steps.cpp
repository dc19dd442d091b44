#include "setup/calibration_steps.h"

#include <limits>

#include "platform/string_table.h"
#include "platform/typed_number.h"

namespace korvel {
namespace {

constexpr const char *kCaption = "Calibration Steps";

} // namespace

CalibrationSteps::CalibrationSteps(CalibrationFunction function, CalibrationExchange &exchange, UserInterface &ui,
                                   char decimalSymbol)
        : function_(function), exchange_(exchange), ui_(ui), decimalSymbol_(decimalSymbol) {}

bool CalibrationSteps::begin() {
    if (!succeeded(exchange_.enterCalibration(calibrationFunctionInfo(function_).mode), message::kCalibrationModeOff)) {
        return false;
    }
    fetchStep();
    return true;
}

void CalibrationSteps::fetchStep() {
    float reference = 0.0f;
    if (!succeeded(exchange_.askReference(reference), message::kCalibrationModeOff)) return;
    reference_ = reference;
    shown_ = showReference(reference, decimalSymbol_);
    actualText_ = shown_.number;
}

void CalibrationSteps::performStep(const std::string &actualText) {
    actualText_ = actualText;
    if (!sendActualValue(actualText)) return;
    setStepRunning(true);
    const CalibrationResult performed = exchange_.performStep();
    setStepRunning(false);
    if (!succeeded(performed, message::kBadCalibrationInput)) return;
    // A failed question is no proof of the end: the instrument is asked for the next step.
    long stepsLeft = 0;
    if (exchange_.askStepsLeft(stepsLeft) == CalibrationResult::Success && stepsLeft == 0) {
        complete_ = true;
    } else {
        fetchStep();
    }
}

// The reference text left as shown stands for the reference itself: its six
// digits must not replace the value the instrument named.
bool CalibrationSteps::sendActualValue(const std::string &actualText) {
    if (actualText == shown_.number) return true;
    // A value beyond single precision is no value the instrument could take.
    const double factor = scaleFactor(shown_.scale);
    const double largest = std::numeric_limits<float>::max() / factor;
    const TypedNumber typed = readTypedNumber(actualText, -largest, largest, decimalSymbol_);
    if (!typed.accepted) return succeeded(CalibrationResult::Refused, message::kActualValueRefused);
    const auto actual = static_cast<float>(typed.value * factor);
    if (actual == reference_) return true;
    return succeeded(exchange_.tellReference(actual), message::kActualValueRefused);
}

bool CalibrationSteps::succeeded(CalibrationResult result, int refusedMessage) {
    if (result == CalibrationResult::Success) return true;
    const int id = result == CalibrationResult::Refused ? refusedMessage : message::kInstrumentSilent;
    showError(ui_, id);
    return false;
}

void CalibrationSteps::setStepRunning(bool running) {
    if (stepRunning_) stepRunning_(running);
}

std::string CalibrationSteps::caption() const {
    return std::string(kCaption) + calibrationFunctionInfo(function_).titleSuffix;
}

std::string CalibrationSteps::applyText() const {
    if (shown_.number.empty()) return {};
    return shown_.number + " " + unitText();
}

std::string CalibrationSteps::unitText() const { return calibrationFunctionInfo(function_).units[shown_.scale]; }

} // namespace korvel
