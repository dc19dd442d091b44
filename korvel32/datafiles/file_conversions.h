// The conversions of data files that the Utilities menu and korvel-convert
// offer, by kind.
#pragma once

#include "datafiles/conversion.h"

#include <memory>
#include <string>

namespace korvel {

struct RegionalFormats;
class TrendLinkInterface;
class UserInterface;

enum class ConversionKind {
    BinaryToAscii,     // a Fast data file (.bin) to an ASCII one (.csv)
    AsciiTimestamps,   // an ASCII data file with its TIME values as date-time texts
    BinaryToTrendLink, // a Fast data file into Trend Link data sets, one per instrument
};

struct ConversionFiles {
    std::string source;
    std::string target;
};

// What the conversions work with besides their files.
struct ConversionContext {
    const RegionalFormats &formats;
    UserInterface &ui;
    // The historian of the Trend Link conversion, loaded when it starts; its
    // messages go to its own user interface. The other kinds never touch it.
    TrendLinkInterface *trendLink = nullptr;
};

std::unique_ptr<Conversion> makeConversion(ConversionKind kind, const ConversionFiles &files,
                                           const ConversionContext &context);

// Makes the conversion and runs it (see runConversion).
ConversionOutcome convertFile(ConversionKind kind, const ConversionFiles &files, const ConversionContext &context,
                              ConversionProgress &progress);

} // namespace korvel
