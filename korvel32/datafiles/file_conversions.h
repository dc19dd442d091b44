// The conversions of data files that the Utilities menu and korvel-convert
// offer, by kind.
#pragma once

#include "datafiles/conversion.h"

#include <memory>
#include <string>

namespace korvel {

struct RegionalFormats;
class UserInterface;

enum class ConversionKind {
    BinaryToAscii,   // a Fast data file (.bin) to an ASCII one (.csv)
    AsciiTimestamps, // an ASCII data file with its TIME values as date-time texts
};

struct ConversionFiles {
    std::string source;
    std::string target;
};

std::unique_ptr<Conversion> makeConversion(ConversionKind kind, const ConversionFiles &files,
                                           const RegionalFormats &formats, UserInterface &ui);

// Makes the conversion and runs it (see runConversion).
ConversionOutcome convertFile(ConversionKind kind, const ConversionFiles &files, const RegionalFormats &formats,
                              UserInterface &ui, ConversionProgress &progress);

} // namespace korvel
