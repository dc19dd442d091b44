#include "platform/regional_formats.h"

#include <cstdlib>

#include "platform/ini_profile.h"

namespace korvel {
namespace {

// The regional settings are read through a 10-character buffer.
constexpr std::size_t kIntlBufferSize = 10;

std::string intlValue(const std::string &path, const char *key, const char *defaultValue) {
    return readProfileString(path, "intl", key, defaultValue, kIntlBufferSize);
}

char firstOf(const std::string &text) { return text.empty() ? '\0' : text.front(); }

void readShortDate(const std::string &pattern, RegionalFormats &formats) {
    switch (firstOf(pattern)) {
        case 'D':
        case 'd': formats.dateOrder = 1; break;
        case 'M':
        case 'm': formats.dateOrder = 2; break;
        case 'Y':
        case 'y': formats.dateOrder = 3; break;
        default: break;
    }
    // A four-letter year pattern shows as a 'y' with another two places on.
    const auto isYear = [](char c) { return c == 'y' || c == 'Y'; };
    const std::size_t year = pattern.find_first_of("yY");
    if (year != std::string::npos) formats.fourDigitYear = year + 2 < pattern.size() && isYear(pattern[year + 2]);
}

} // namespace

std::string userRegionalSettingsPath() {
    const char *configHome = std::getenv("XDG_CONFIG_HOME");
    std::string directory;
    if (configHome != nullptr && *configHome != '\0')
        directory = configHome;
    else if (const char *home = std::getenv("HOME"))
        directory = std::string(home) + "/.config";
    else
        directory = ".config";
    return directory + "/korvel32/win.ini";
}

RegionalFormats readRegionalFormats(const std::string &winIniPath) {
    RegionalFormats formats;
    formats.listSeparator = firstOf(intlValue(winIniPath, "sList", ",")) == ';' ? ';' : ',';
    formats.decimalSymbol = firstOf(intlValue(winIniPath, "sDecimal", ".")) == ',' ? ',' : '.';
    if (formats.listSeparator == formats.decimalSymbol) {
        formats.listSeparator = ',';
        formats.decimalSymbol = '.';
    }
    const char date = firstOf(intlValue(winIniPath, "sDate", "/"));
    formats.dateSeparator = (date == '.' || date == '-') ? date : '/';
    const char time = firstOf(intlValue(winIniPath, "sTime", ":"));
    formats.timeSeparator = (time == '.' || time == ',') ? time : ':';
    readShortDate(intlValue(winIniPath, "sShortDate", "M"), formats);
    formats.twelveHour = !intlValue(winIniPath, "s1159", "A").empty();
    return formats;
}

RegionalFormats readRegionalFormats() { return readRegionalFormats(userRegionalSettingsPath()); }

} // namespace korvel
