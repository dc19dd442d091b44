#include "setup/field_scanner.h"

#include "platform/ascii_digits.h"

#include <charconv>
#include <limits>

namespace korvel {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

} // namespace

void FieldScanner::skipBlanks() {
    while (position_ < text_.size() && isBlank(text_[position_])) ++position_;
}

std::optional<std::uint64_t> FieldScanner::readMagnitude(bool &negative) {
    skipBlanks();
    std::size_t at = position_;
    negative = at < text_.size() && text_[at] == '-';
    if (at < text_.size() && (text_[at] == '-' || text_[at] == '+')) ++at;
    if (at >= text_.size() || !isDigit(text_[at])) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (; at < text_.size() && isDigit(text_[at]); ++at) {
        const std::uint64_t digit = static_cast<std::uint64_t>(text_[at] - '0');
        magnitude = magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10
                        ? std::numeric_limits<std::uint64_t>::max()
                        : magnitude * 10 + digit;
    }
    position_ = at;
    return magnitude;
}

std::optional<std::uint64_t> FieldScanner::readUnsigned() {
    bool negative = false;
    const auto magnitude = readMagnitude(negative);
    if (!magnitude) return std::nullopt;
    return negative ? ~*magnitude + 1 : *magnitude;
}

std::optional<std::int64_t> FieldScanner::readSigned() {
    bool negative = false;
    const auto magnitude = readMagnitude(negative);
    if (!magnitude) return std::nullopt;
    constexpr std::uint64_t kLimit = std::numeric_limits<int>::max();
    const auto clamped = static_cast<std::int64_t>(*magnitude > kLimit ? kLimit + (negative ? 1 : 0) : *magnitude);
    return negative ? -clamped : clamped;
}

std::optional<double> FieldScanner::readDouble() {
    skipBlanks();
    std::size_t at = position_;
    if (at < text_.size() && text_[at] == '+') ++at;
    // from_chars takes no '+' but does take the '-' itself.
    if (at > position_ && at < text_.size() && text_[at] == '-') return std::nullopt;
    double value = 0.0;
    const char *first = text_.data() + at;
    const auto [end, error] = std::from_chars(first, text_.data() + text_.size(), value);
    if (error != std::errc{}) return std::nullopt;
    position_ = static_cast<std::size_t>(end - text_.data());
    return value;
}

bool FieldScanner::literal(char c) {
    if (position_ >= text_.size() || text_[position_] != c) return false;
    ++position_;
    return true;
}

std::optional<std::string_view> ValueFields::from(std::size_t index) const {
    std::size_t start = 0;
    for (std::size_t field = 0; field < index; ++field) {
        const std::size_t comma = value_.find(',', start);
        if (comma == std::string_view::npos) return std::nullopt;
        start = comma + 1;
    }
    return value_.substr(start);
}

} // namespace korvel
