// A number with a fixed count of significant digits, exactly as "%#.*G"
// prints it in the C locale, without the cost of a printf call: the data
// files format every reading this way, tens of thousands a second.
#pragma once

#include <cstddef>

namespace korvel {

// Room that writeSignificant needs at most, terminating zero included.
inline constexpr std::size_t kSignificantTextCapacity = 40;

// The precisions written; others are clamped into this range (0 acts as 1,
// as in printf).
inline constexpr int kMinSignificantDigits = 1;
inline constexpr int kMaxSignificantDigits = 17;

// Writes value with the given significant digits to out (at least
// kSignificantTextCapacity characters, which may all be written to),
// zero-terminated; returns the length.
// Trailing zeros and the point are kept, exponents are upper case; the point
// is written as the given character. Neither the locale nor the heap is used.
std::size_t writeSignificant(double value, int digits, char *out, char point = '.');

} // namespace korvel
