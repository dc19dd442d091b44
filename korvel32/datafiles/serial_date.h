// The serial date of the TIME column: local days since 1899-12-30 00:00 with
// nine decimals of the day.
#pragma once

#include <ctime>
#include <string>

namespace korvel {

std::string serialDateText(const std::tm &local, unsigned milliseconds, char decimalSymbol);

} // namespace korvel
