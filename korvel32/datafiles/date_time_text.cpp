#include "datafiles/date_time_text.h"

#include <cstdio>

namespace korvel {

std::string dateTimeText(const std::tm &local, const RegionalFormats &formats, std::optional<unsigned> milliseconds) {
    const int year = formats.fourDigitYear ? local.tm_year + 1900 : local.tm_year % 100;
    const int yearWidth = formats.fourDigitYear ? 4 : 2;
    const int month = local.tm_mon + 1;
    const int day = local.tm_mday;
    struct Part {
        int width;
        int value;
    };
    Part parts[3];
    switch (formats.dateOrder) {
        case 1: parts[0] = {2, day}, parts[1] = {2, month}, parts[2] = {yearWidth, year}; break;
        case 2: parts[0] = {2, month}, parts[1] = {2, day}, parts[2] = {yearWidth, year}; break;
        default: parts[0] = {yearWidth, year}, parts[1] = {2, month}, parts[2] = {2, day}; break;
    }
    const char separator = formats.dateSeparator;
    char date[32];
    std::snprintf(date, sizeof date, "%0*d%c%0*d%c%0*d", parts[0].width, parts[0].value, separator, parts[1].width,
                  parts[1].value, separator, parts[2].width, parts[2].value);

    char text[80];
    int length = std::snprintf(text, sizeof text, "\"%s %02d%c%02d%c%02d", date, local.tm_hour, formats.timeSeparator,
                               local.tm_min, formats.timeSeparator, local.tm_sec);
    if (milliseconds)
        length += std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length), "%c%03u",
                                formats.decimalSymbol, *milliseconds);
    return std::string(text, static_cast<std::size_t>(length)) + '"';
}

} // namespace korvel
