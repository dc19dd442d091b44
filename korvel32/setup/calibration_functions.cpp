#include "setup/calibration_functions.h"

#include <algorithm>
#include <charconv>

namespace korvel {
namespace {

constexpr double kThousand = 1000.0;
constexpr double kMillion = 1000000.0;
constexpr int kShownDigits = 6; // as "%g" shows a number

constexpr CalibrationFunctionInfo kFunctions[] = {
    {"Volts DC", " - Volts DC", {"VDC", "VDC", "VDC"}, 1},
    {"Volts AC", " - Volts AC", {"VAC (1 kHz)", "VAC (1 kHz)", "VAC (1 kHz)"}, 2},
    {"Resistance", " - Resistance", {"Ohms", "kOhms", "MOhms"}, 3},
    {"Frequency", " - Frequency", {"Hz (3V Signal)", "kHz (3V Signal)", "MHz (3V Signal)"}, 4},
};

constexpr double kScaleDivisors[] = {1.0, kThousand, kMillion};

} // namespace

const CalibrationFunctionInfo &calibrationFunctionInfo(CalibrationFunction function) {
    return kFunctions[static_cast<int>(function)];
}

ShownReference showReference(float reference, char decimalSymbol) {
    ShownReference shown;
    if (reference >= kMillion) {
        shown.scale = 2;
    } else if (reference >= kThousand) {
        shown.scale = 1;
    }
    // to_chars rather than "%g": the program's locale must not change the point.
    char text[32];
    const double scaled = static_cast<double>(reference) / kScaleDivisors[shown.scale];
    const auto written = std::to_chars(text, text + sizeof text, scaled, std::chars_format::general, kShownDigits);
    shown.number.assign(text, written.ptr);
    std::replace(shown.number.begin(), shown.number.end(), '.', decimalSymbol);
    return shown;
}

double scaleFactor(int scale) { return kScaleDivisors[scale]; }

} // namespace korvel
