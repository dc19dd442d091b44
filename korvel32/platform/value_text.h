// One reading as the data files show it and, with words for the special
// readings, as the readings and Spy windows show it: six significant digits
// in engineering steps with the regional decimal symbol. Every reading of
// every scan goes through here, so the texts are made once per file or
// window and write into the caller's buffer without a printf call, a locale
// look-up or an allocation.
#pragma once

#include <cstddef>
#include <string>

#include "platform/engineering_notation.h"

namespace korvel {

enum class ValueStyle {
    File,    // open thermocouple "+9.00E+9", overloads "+1.00E+9" / "-1.00E+9"
    Display, // "Open TC", "+Overload", "-Overload"
};

// Room that ValueTexts::write needs at most, terminating zero included.
inline constexpr std::size_t kValueTextCapacity = kEngineeringTextCapacity;

class ValueTexts {
public:
    explicit ValueTexts(char decimalSymbol, ValueStyle style = ValueStyle::File);

    // Writes the text of reading to out (at least kValueTextCapacity
    // characters), zero-terminated; returns its length.
    std::size_t write(float reading, char *out) const;

    std::string text(float reading) const;

private:
    struct Marker {
        char text[kValueTextCapacity]{};
        std::size_t length = 0;
    };

    static Marker markerOf(const std::string &text, char point);
    static std::size_t copy(const Marker &marker, char *out);

    char decimalSymbol_;
    Marker openThermocouple_;
    Marker positiveOverload_;
    Marker negativeOverload_;
};

// One text, for the places that show a single reading.
std::string valueText(float reading, char decimalSymbol, ValueStyle style = ValueStyle::File);

} // namespace korvel
