#include "platform/value_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/string_table.h"

namespace korvel {
namespace {

constexpr int kValueDigits = 6;
// Readings beyond this magnitude are shown as overloads.
constexpr float kLargestReading = 9.9999e9F;

} // namespace

ValueTexts::ValueTexts(char decimalSymbol, ValueStyle style) : decimalSymbol_(decimalSymbol) {
    if (style == ValueStyle::Display) {
        openThermocouple_ = markerOf(resourceString(message::kOpenThermocouple), '.');
        positiveOverload_ = markerOf(resourceString(message::kPositiveOverload), '.');
        negativeOverload_ = markerOf(resourceString(message::kNegativeOverload), '.');
    } else { // numbers, which take the regional decimal symbol like any other
        openThermocouple_ = markerOf("+9.00E+9", decimalSymbol);
        positiveOverload_ = markerOf("+1.00E+9", decimalSymbol);
        negativeOverload_ = markerOf("-1.00E+9", decimalSymbol);
    }
}

// The marker with its points written as the given character.
ValueTexts::Marker ValueTexts::markerOf(const std::string &text, char point) {
    Marker marker;
    marker.length = std::min(text.size(), kValueTextCapacity - 1);
    std::replace_copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(marker.length), marker.text, '.', point);
    return marker;
}

std::size_t ValueTexts::copy(const Marker &marker, char *out) {
    std::memcpy(out, marker.text, marker.length + 1);
    return marker.length;
}

std::size_t ValueTexts::write(float reading, char *out) const {
    if (std::isnan(reading)) return copy(openThermocouple_, out);
    if (reading > kLargestReading) return copy(positiveOverload_, out);
    if (reading < -kLargestReading) return copy(negativeOverload_, out);
    return writeEngineering(reading, kValueDigits, decimalSymbol_, out);
}

std::string ValueTexts::text(float reading) const {
    char text[kValueTextCapacity];
    return std::string(text, write(reading, text));
}

std::string valueText(float reading, char decimalSymbol, ValueStyle style) {
    return ValueTexts(decimalSymbol, style).text(reading);
}

} // namespace korvel
