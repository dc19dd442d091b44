#include "control_words.h"

#include <charconv>

namespace korvelsim {

std::int64_t toInteger(const std::string &text) {
    const bool negative = !text.empty() && text[0] == '-';
    std::string digits = negative ? text.substr(1) : text;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
        base = 16;
    }
    std::int64_t value = 0;
    const auto [end, problem] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || problem != std::errc() || end != digits.data() + digits.size()) {
        throw ControlError("not a number: " + text);
    }
    return negative ? -value : value;
}

std::int32_t toInt32(const std::string &text) { return static_cast<std::int32_t>(toInteger(text)); }

int toCount(const std::string &text) {
    const std::int64_t value = toInteger(text);
    if (value < 0 || value > 1000000) {
        throw ControlError("count out of range: " + text);
    }
    return static_cast<int>(value);
}

float toFloat(const std::string &text) {
    std::size_t used = 0;
    try {
        const float value = std::stof(text, &used);
        if (used == text.size()) {
            return value;
        }
    } catch (const std::exception &) {}
    throw ControlError("not a number: " + text);
}

bool toSwitch(const std::string &text) { return toInteger(text) != 0; }

} // namespace korvelsim
