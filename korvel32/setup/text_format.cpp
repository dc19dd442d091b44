#include "setup/text_format.h"

#include <cstdarg>
#include <cstdio>

namespace korvel {

std::string formatted(const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    va_end(arguments);
    return text;
}

std::string filledIn(std::string text, const std::string &placeholder, std::initializer_list<std::string> values) {
    std::size_t from = 0;
    for (const std::string &value : values) {
        const std::size_t at = text.find(placeholder, from);
        if (at == std::string::npos) break;
        text.replace(at, placeholder.size(), value);
        from = at + value.size();
    }
    return text;
}

std::string cut(const std::string &text, std::size_t length) { return text.substr(0, length); }

std::string padded(const std::string &text, std::size_t width) {
    std::size_t characters = 0;
    for (const char byte : text) {
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++characters;
    }
    return characters >= width ? text : text + std::string(width - characters, ' ');
}

} // namespace korvel
