// The regional characters and date layout every number and time stamp text
// uses, read once at start from the [intl] section.
#pragma once

#include <string>

namespace korvel {

struct RegionalFormats {
    char listSeparator = ',';
    char decimalSymbol = '.';
    char dateSeparator = '/';
    char timeSeparator = ':';
    int dateOrder = 2; // 1 day first, 2 month first, 3 year first
    bool fourDigitYear = false;
    bool twelveHour = true;
};

// The user's regional settings file: win.ini in the korvel32 directory of
// $XDG_CONFIG_HOME, or of ~/.config when that is not set.
std::string userRegionalSettingsPath();

// The formats of the [intl] section of the given file; a missing file or key
// gives the usual defaults.
RegionalFormats readRegionalFormats(const std::string &winIniPath);

// The formats of the user's regional settings file.
RegionalFormats readRegionalFormats();

} // namespace korvel
