// The date-time text of the data files: a local time in double quotes, laid
// out in the regional date order, year form and separators.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "platform/regional_formats.h"

namespace korvel {

// With milliseconds, they follow the seconds after the decimal symbol.
std::string dateTimeText(const std::tm &local, const RegionalFormats &formats,
                         std::optional<unsigned> milliseconds = std::nullopt);

} // namespace korvel
