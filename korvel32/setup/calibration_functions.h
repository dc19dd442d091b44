// The four functions an instrument is calibrated in, one at a time, and how
// a step's reference value is shown: scaled into units, thousands or
// millions of the function's unit.
#pragma once

#include <array>
#include <string>

namespace korvel {

enum class CalibrationFunction { VoltsDc, VoltsAc, Resistance, Frequency };

inline constexpr std::array<CalibrationFunction, 4> kCalibrationFunctions{
    CalibrationFunction::VoltsDc, CalibrationFunction::VoltsAc, CalibrationFunction::Resistance,
    CalibrationFunction::Frequency};

struct CalibrationFunctionInfo {
    const char *button;
    const char *titleSuffix;
    std::array<const char *, 3> units; // as is, thousands, millions
    unsigned mode;                     // the number "CAL %u" takes
};

const CalibrationFunctionInfo &calibrationFunctionInfo(CalibrationFunction function);

// A reference value as the Calibration Steps dialog shows it.
struct ShownReference {
    int scale = 0;      // 0 as is, 1 thousands, 2 millions
    std::string number; // "%g" with the regional decimal symbol
};

ShownReference showReference(float reference, char decimalSymbol);

// What a number shown in a scale is multiplied by to be in the instrument's
// units: 1, 1000 or 1000000.
double scaleFactor(int scale);

} // namespace korvel
