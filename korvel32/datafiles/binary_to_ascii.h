// Fast data file to ASCII: the target gets the source's header naming
// itself instead of the source, and one .csv scan line per merged record,
// exactly as the .csv writer would have written the same scans.
#pragma once

#include "datafiles/binary_file_conversion.h"

#include <memory>
#include <string>

namespace korvel {

struct RegionalFormats;
class UserInterface;

std::unique_ptr<BinaryConversionTarget> makeAsciiConversionTarget(const std::string &targetPath,
                                                                  const RegionalFormats &formats, UserInterface &ui);

} // namespace korvel
