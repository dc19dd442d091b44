// Numbers as the logger shows them: scaled into one of the engineering steps
// E+9 ... E-9, printed with a given count of significant digits, and with the
// regional decimal symbol in place of the point.
#pragma once

#include <cstddef>
#include <string>

#include "platform/significant_digits.h"

namespace korvel {

// Room that writeEngineering needs at most, terminating zero included.
inline constexpr std::size_t kEngineeringTextCapacity = kSignificantTextCapacity + 4;

// Writes value to out (at least kEngineeringTextCapacity characters),
// zero-terminated; returns the length. Magnitudes of 1E9 and above take E+9,
// 1E6 E+6, 1E3 E+3, 0.01 up to 1000 (and zero) no suffix, 1E-4 E-3, 1E-7 E-6,
// 1E-10 E-9; smaller non-zero magnitudes are shown as zero. The value is
// scaled in double precision before its digits are rounded.
std::size_t writeEngineering(double value, int digits, char decimalSymbol, char *out);

// The same for a single-precision reading: its step is chosen against the
// bounds as single-precision numbers, so that a reading the instrument gave
// as 0.01 stays in the step of 0.01, and it is then scaled as a double.
std::size_t writeEngineering(float value, int digits, char decimalSymbol, char *out);

std::string engineeringText(double value, int digits, char decimalSymbol);

} // namespace korvel
