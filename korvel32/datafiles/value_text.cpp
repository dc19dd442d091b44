#include "datafiles/value_text.h"

#include <algorithm>
#include <cmath>

#include "platform/engineering_notation.h"
#include "platform/string_table.h"

namespace korvel {
namespace {

constexpr int kValueDigits = 6;
// Readings beyond this magnitude are written as overloads.
constexpr float kLargestReading = 9.9999e9F;

constexpr int kOpenThermocoupleString = 1277;
constexpr int kPositiveOverloadString = 1278;
constexpr int kNegativeOverloadString = 1279;

enum class Marker { None, OpenThermocouple, PositiveOverload, NegativeOverload };

Marker markerOf(float reading) {
    if (std::isnan(reading)) return Marker::OpenThermocouple;
    if (reading > kLargestReading) return Marker::PositiveOverload;
    if (reading < -kLargestReading) return Marker::NegativeOverload;
    return Marker::None;
}

void appendMarker(std::string &out, Marker marker, char decimalSymbol, ValueStyle style) {
    if (style == ValueStyle::Display) {
        const int id = marker == Marker::OpenThermocouple   ? kOpenThermocoupleString
                       : marker == Marker::PositiveOverload ? kPositiveOverloadString
                                                            : kNegativeOverloadString;
        out += resourceString(id);
        return;
    }
    const char *text = marker == Marker::OpenThermocouple   ? "+9.00E+9"
                       : marker == Marker::PositiveOverload ? "+1.00E+9"
                                                            : "-1.00E+9";
    const std::size_t start = out.size();
    out += text;
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '.', decimalSymbol);
}

} // namespace

void appendValueText(std::string &out, float reading, char decimalSymbol, ValueStyle style) {
    const Marker marker = markerOf(reading);
    if (marker != Marker::None) {
        appendMarker(out, marker, decimalSymbol, style);
        return;
    }
    char text[kEngineeringTextCapacity];
    out.append(text, writeEngineering(reading, kValueDigits, decimalSymbol, text));
}

std::string valueText(float reading, char decimalSymbol, ValueStyle style) {
    std::string text;
    appendValueText(text, reading, decimalSymbol, style);
    return text;
}

} // namespace korvel
