#include "platform/typed_number.h"

#include <algorithm>
#include <charconv>

#include "platform/engineering_notation.h"

namespace korvel {
namespace {

// The bounds in the complaint are shown with this many significant digits.
constexpr int kBoundDigits = 6;

double leadingNumber(std::string text, char decimalSymbol) {
    std::replace(text.begin(), text.end(), decimalSymbol, '.');
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return 0.0;
    const char *first = text.data() + start;
    const char *last = text.data() + text.size();
    if (*first == '+') ++first;
    double value = 0.0;
    if (std::from_chars(first, last, value).ec != std::errc()) return 0.0;
    return value;
}

std::string complaintFor(double minimum, double maximum, char decimalSymbol) {
    std::string text = "Please enter a number between %1 and %2.";
    text.replace(text.find("%1"), 2, engineeringText(minimum, kBoundDigits, decimalSymbol));
    text.replace(text.find("%2"), 2, engineeringText(maximum, kBoundDigits, decimalSymbol));
    return text;
}

} // namespace

TypedNumber readTypedNumber(const std::string &text, double minimum, double maximum, char decimalSymbol) {
    TypedNumber result;
    result.value = leadingNumber(text, decimalSymbol);
    result.accepted = minimum <= result.value && result.value <= maximum;
    if (!result.accepted) result.complaint = complaintFor(minimum, maximum, decimalSymbol);
    return result;
}

} // namespace korvel
