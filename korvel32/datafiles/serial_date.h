// The serial date of the TIME column: local days since 1899-12-30 00:00 with
// nine decimals of the day.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>

namespace korvel {

// Room that writeSerialDate needs at most, terminating zero included.
inline constexpr std::size_t kSerialDateCapacity = 32;

// Writes the serial date to out (at least kSerialDateCapacity characters),
// zero-terminated; returns its length. Every scan line starts with one, so it
// is written without a printf call.
std::size_t writeSerialDate(const std::tm &local, unsigned milliseconds, char decimalSymbol, char *out);

std::string serialDateText(const std::tm &local, unsigned milliseconds, char decimalSymbol);

} // namespace korvel
