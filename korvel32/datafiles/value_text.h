// One reading as the data files (and, with words for the special readings,
// the readings windows) show it: six significant digits in engineering steps
// with the regional decimal symbol. Formatting a reading is on the path of
// every scan, so it writes into the caller's text without a printf call.
#pragma once

#include <string>

namespace korvel {

enum class ValueStyle {
    File,    // open thermocouple "+9.00E+9", overloads "+1.00E+9" / "-1.00E+9"
    Display, // "Open TC", "+Overload", "-Overload"
};

// Appends the value text of reading to out.
void appendValueText(std::string &out, float reading, char decimalSymbol, ValueStyle style = ValueStyle::File);

std::string valueText(float reading, char decimalSymbol, ValueStyle style = ValueStyle::File);

} // namespace korvel
