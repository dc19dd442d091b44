#include "platform/significant_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace korvel {
namespace {

std::size_t writeSpecial(double value, char *out) {
    const char *text = std::isnan(value) ? (std::signbit(value) ? "-NAN" : "NAN") : (value < 0 ? "-INF" : "INF");
    std::strcpy(out, text);
    return std::strlen(text);
}

// Where the exponent of a to_chars scientific text starts, and its value.
struct ExponentPart {
    const char *mark; // the 'e'
    int value;
};

ExponentPart exponentOf(const char *first, const char *last) {
    ExponentPart part{std::find(first, last, 'e'), 0};
    std::from_chars(part.mark + (part.mark[1] == '+' ? 2 : 1), last, part.value);
    return part;
}

// When rounding carries a number of the fixed layout into the exponent one
// ("%#.5G" of 99999.95), the C library writes no fraction digits (1.E+05);
// files written before were written that way, so do the same.
bool roundedIntoNewExponent(double value, int roundedExponent) {
    char exact[kSignificantTextCapacity];
    const auto result = std::to_chars(exact, exact + sizeof exact, value, std::chars_format::scientific);
    return exponentOf(exact, result.ptr).value != roundedExponent;
}

} // namespace

std::size_t writeSignificant(double value, int digits, char *out) {
    if (!std::isfinite(value)) return writeSpecial(value, out);
    const int precision = std::clamp(digits, kMinSignificantDigits, kMaxSignificantDigits);

    // The scientific form rounds to the wanted digits and tells the exponent
    // that decides between the fixed and the exponent layout.
    char scientific[kSignificantTextCapacity];
    const auto result =
        std::to_chars(scientific, scientific + sizeof scientific, value, std::chars_format::scientific, precision - 1);
    const char *mantissa = scientific;
    const char *end = result.ptr;
    char *write = out;
    if (*mantissa == '-') *write++ = *mantissa++;
    const auto [exponentMark, exponent] = exponentOf(mantissa, end);

    if (exponent < -4 || exponent >= precision) {
        // d.ddddE+XX: the scientific form with the point always present.
        std::size_t mantissaLength = static_cast<std::size_t>(exponentMark - mantissa);
        if (precision > 1 && exponent == precision && roundedIntoNewExponent(value, exponent)) mantissaLength = 2;
        std::memcpy(write, mantissa, mantissaLength);
        write += mantissaLength;
        if (precision == 1) *write++ = '.';
        *write++ = 'E';
        const std::size_t exponentLength = static_cast<std::size_t>(end - exponentMark - 1);
        std::memcpy(write, exponentMark + 1, exponentLength);
        write += exponentLength;
    } else {
        char significand[kMaxSignificantDigits];
        significand[0] = mantissa[0];
        if (precision > 1) std::memcpy(significand + 1, mantissa + 2, static_cast<std::size_t>(precision - 1));
        if (exponent < 0) {
            *write++ = '0';
            *write++ = '.';
            write = std::fill_n(write, -exponent - 1, '0');
            write = std::copy_n(significand, precision, write);
        } else {
            write = std::copy_n(significand, exponent + 1, write);
            *write++ = '.';
            write = std::copy_n(significand + exponent + 1, precision - exponent - 1, write);
        }
    }
    *write = '\0';
    return static_cast<std::size_t>(write - out);
}

} // namespace korvel
