// Numbers typed by the user in the regional decimal format, checked against
// inclusive bounds. The complaint is handed back, not shown, so that the
// caller shows it through the user interface.
#pragma once

#include <string>

namespace korvel {

struct TypedNumber {
    bool accepted = false;
    double value = 0.0;
    std::string complaint; // "Please enter a number between ..." when not accepted
};

// Reads the leading number of text (none reads as 0, as the conversion of the
// dialogs does) after turning the regional decimal symbol back into a point.
TypedNumber readTypedNumber(const std::string &text, double minimum, double maximum, char decimalSymbol);

} // namespace korvel
