// The digits of the numbers in the program's files and texts are the ASCII
// '0' to '9' whatever the locale, so parsers test for exactly those.
#pragma once

namespace korvel {

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace korvel
