// Texts built for lists and reports: printf-style formatting into a string,
// cutting a text to the width of its column, and filling it out to that width.
#pragma once

#include <initializer_list>
#include <string>

namespace korvel {

std::string formatted(const char *format, ...) __attribute__((format(printf, 1, 2)));

// A message text with each placeholder (such as "%04u") replaced in turn by
// the next value, for texts whose format comes from the string table.
std::string filledIn(std::string text, const std::string &placeholder, std::initializer_list<std::string> values);

// The first length characters of text.
std::string cut(const std::string &text, std::size_t length);

// text followed by spaces up to width characters. Labels are UTF-8, so a
// character such as the degree sign counts once however many bytes it takes.
std::string padded(const std::string &text, std::size_t width);

} // namespace korvel
