#include "setup/dialog_numbers.h"

#include "platform/ascii_digits.h"
#include "platform/typed_number.h"
#include "setup/text_format.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace korvel {

namespace {

std::string withDecimalSymbol(std::string text, char decimalSymbol) {
    std::replace(text.begin(), text.end(), '.', decimalSymbol);
    return text;
}

bool blank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::string gText(double value, char decimalSymbol) { return withDecimalSymbol(formatted("%g", value), decimalSymbol); }

std::string secondsText(double value, char decimalSymbol) {
    return withDecimalSymbol(formatted("%.3f", value), decimalSymbol);
}

std::string alternateGText(double value, char decimalSymbol) {
    return withDecimalSymbol(formatted("%#g", value), decimalSymbol);
}

double typedValue(const std::string &text, char decimalSymbol) {
    constexpr double kAny = std::numeric_limits<double>::max();
    return readTypedNumber(text, -kAny, kAny, decimalSymbol).value;
}

bool typedWithin(const std::string &text, double lowest, double highest, char decimalSymbol) {
    return readTypedNumber(text, lowest, highest, decimalSymbol).accepted;
}

std::optional<unsigned long> typedWholeNumber(const std::string &text) {
    auto first = std::find_if_not(text.begin(), text.end(), blank);
    auto last = std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(first), blank).base();
    if (first == last) return 0;
    if (!std::all_of(first, last, isDigit)) {
        return std::nullopt;
    }
    unsigned long value = 0;
    const char *begin = text.data() + (first - text.begin());
    const char *end = text.data() + (last - text.begin());
    if (std::from_chars(begin, end, value).ec != std::errc()) return std::nullopt;
    return value;
}

double NumberField::value(char decimalSymbol) const {
    return text_ == shown_ ? value_ : typedValue(text_, decimalSymbol);
}

bool NumberField::within(double lowest, double highest, char decimalSymbol) const {
    const double number = value(decimalSymbol);
    return lowest <= number && number <= highest;
}

} // namespace korvel
