// ASCII timestamps to text: the same file with every TIME value (the serial
// date that starts each scan line) written as a date-time text with
// milliseconds, for readers who would rather see the time than count days.
#pragma once

#include "datafiles/conversion.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

struct RegionalFormats;
class UserInterface;

// The date-time text with milliseconds of a serial date written with the
// regional decimal symbol ("35503.500000000" gives "03/14/97 12:00:00.000"
// in quotes). Nothing when the text is not such a number.
std::optional<std::string> serialDateTimeText(std::string_view serialDate, const RegionalFormats &formats);

// Refuses, naming sourcePath, a source that is not an ASCII data file.
std::unique_ptr<Conversion> makeAsciiTimestampConversion(const std::string &sourcePath, const std::string &targetPath,
                                                         const RegionalFormats &formats, UserInterface &ui);

} // namespace korvel
