// Texts built for lists and reports: printf-style formatting into a string,
// and cutting a text to the width of its column.
#pragma once

#include <string>

namespace korvel {

std::string formatted(const char *format, ...) __attribute__((format(printf, 1, 2)));

// The first length characters of text.
std::string cut(const std::string &text, std::size_t length);

} // namespace korvel
