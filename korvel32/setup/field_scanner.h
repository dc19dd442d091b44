// Reads numbers from the comma-separated values of a text setup file the way
// the C scan functions do ("%u", "%lf", literal commas), without depending on
// the process locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

class FieldScanner {
public:
    // Keeps its own copy, so it may be made from a temporary value.
    explicit FieldScanner(std::string_view text) : text_(text) {}

    // Blanks, an optional sign and digits; a negative number wraps around as
    // "%u" does.
    std::optional<std::uint64_t> readUnsigned();
    // Blanks, an optional sign and digits, within the int range.
    std::optional<std::int64_t> readSigned();
    std::optional<double> readDouble();
    // The character itself, with no blanks skipped.
    bool literal(char c);

private:
    void skipBlanks();
    std::optional<std::uint64_t> readMagnitude(bool &negative);

    std::string text_;
    std::size_t position_ = 0;
};

// The comma-separated fields of a value, each read from its start.
class ValueFields {
public:
    explicit ValueFields(std::string_view value) : value_(value) {}

    // The value from the start of field index (0 = the first field) to its end.
    std::optional<std::string_view> from(std::size_t index) const;

private:
    std::string_view value_;
};

} // namespace korvel
