// Names that users and files may write in any case (INI sections and keys,
// the live-values topics and items) compare equal whatever the case of their
// ASCII letters.
#pragma once

#include <algorithm>
#include <string_view>

namespace korvel {

constexpr char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

} // namespace korvel
