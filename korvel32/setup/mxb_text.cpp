#include "setup/mxb_text.h"

#include "platform/ascii_digits.h"
#include "setup/mxb_scaling.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvel {

namespace {

constexpr std::size_t kQuotedLineLength = 100;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a field from the front of rest and removes it. Fails on anything
// but the exact form, so that "3,2.5,-1" is not read as channel 3.
class LineReader {
public:
    explicit LineReader(std::string_view line) : rest_(line) {}

    bool channel(int &value) {
        const std::size_t length = digitsAt(0);
        if (length == 0) return false;
        const auto [end, error] = std::from_chars(rest_.data(), rest_.data() + length, value);
        if (error != std::errc() || end != rest_.data() + length) return false;
        rest_.remove_prefix(length);
        return true;
    }

    bool number(double &value) {
        const std::size_t length = numberLength();
        if (length == 0) return false;
        const std::string_view text = rest_.substr(0, length);
        const bool negative = text[0] == '-';
        const std::string_view digits = text.substr(text[0] == '-' || text[0] == '+' ? 1 : 0);
        double magnitude = 0.0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
        if (end != digits.data() + digits.size()) return false;
        if (error == std::errc::result_out_of_range) {
            // Too small to hold reads as 0; too large is left for the limit check to refuse.
            magnitude = tooSmallToHold(digits) ? 0.0 : HUGE_VAL;
        } else if (error != std::errc()) {
            return false;
        }
        value = negative ? -magnitude : magnitude;
        rest_.remove_prefix(length);
        return true;
    }

    bool blanks() {
        std::size_t length = 0;
        while (length < rest_.size() && isBlank(rest_[length])) ++length;
        rest_.remove_prefix(length);
        return length > 0;
    }

    // Whatever follows the last field must be set apart by white space.
    bool endOfFields() const { return rest_.empty() || isBlank(rest_[0]) || rest_[0] == '\r'; }

private:
    // Sign, digits with an optional point, optional exponent: the length of
    // the number at the front, 0 when there is none.
    std::size_t numberLength() const {
        std::size_t length = 0;
        if (!rest_.empty() && (rest_[0] == '-' || rest_[0] == '+')) ++length;
        std::size_t digits = digitsAt(length);
        length += digits;
        if (length < rest_.size() && rest_[length] == '.') {
            const std::size_t fraction = digitsAt(length + 1);
            digits += fraction;
            length += 1 + fraction;
        }
        if (digits == 0) return 0;
        if (length < rest_.size() && (rest_[length] == 'e' || rest_[length] == 'E')) {
            std::size_t exponent = length + 1;
            if (exponent < rest_.size() && (rest_[exponent] == '-' || rest_[exponent] == '+')) ++exponent;
            const std::size_t exponentDigits = digitsAt(exponent);
            if (exponentDigits == 0) return 0;
            length = exponent + exponentDigits;
        }
        return length;
    }

    // An unsigned number out of the range of a double is too small when its
    // exponent is negative or its whole part is zero.
    static bool tooSmallToHold(std::string_view number) {
        return number.find("e-") != std::string_view::npos || number.find("E-") != std::string_view::npos ||
               number.substr(0, number.find_first_not_of("0123456789")).find_first_not_of('0') ==
                   std::string_view::npos;
    }

    std::size_t digitsAt(std::size_t offset) const {
        std::size_t length = 0;
        while (offset + length < rest_.size() && isDigit(rest_[offset + length])) ++length;
        return length;
    }

    std::string_view rest_;
};

bool withinLimit(double value) { return value >= -kValueLimit && value <= kValueLimit; }

bool readLine(std::string_view line, MxbLine &result) {
    LineReader reader(line);
    return reader.channel(result.channel) && result.channel >= 1 && result.channel <= kChannelCount &&
           reader.blanks() && reader.number(result.m) && withinLimit(result.m) && reader.blanks() &&
           reader.number(result.b) && withinLimit(result.b) && reader.endOfFields();
}

std::string quotedLine(std::string_view line, char decimalSymbol) {
    std::string quoted(line.substr(0, std::min(line.find_first_of("\r\n"), kQuotedLineLength)));
    std::replace(quoted.begin(), quoted.end(), '.', decimalSymbol);
    return quoted;
}

} // namespace

MxbText parseMxbText(std::string_view original, char decimalSymbol) {
    std::string text(original);
    std::replace(text.begin(), text.end(), decimalSymbol, '.');

    MxbText result;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        MxbLine parsed;
        if (!readLine(line, parsed)) {
            result.offendingLine = quotedLine(line, decimalSymbol);
            return result;
        }
        result.lines.push_back(parsed);
    }
    result.valid = true;
    return result;
}

bool applyMxbLines(InstrumentSetup &setup, const std::vector<MxbLine> &lines) {
    bool applied = false;
    for (const MxbLine &line : lines) {
        ChannelSetup &channel = setup.channel(line.channel);
        if (channel.function == ChannelFunction::Off) continue;
        setMxbScaling(channel, static_cast<float>(line.m), static_cast<float>(line.b));
        applied = true;
    }
    return applied;
}

} // namespace korvel
