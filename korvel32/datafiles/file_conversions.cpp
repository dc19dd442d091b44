#include "datafiles/file_conversions.h"

#include "datafiles/ascii_timestamps.h"
#include "datafiles/binary_to_ascii.h"

namespace korvel {

std::unique_ptr<Conversion> makeConversion(ConversionKind kind, const ConversionFiles &files,
                                           const RegionalFormats &formats, UserInterface &ui) {
    switch (kind) {
        case ConversionKind::BinaryToAscii:
            return makeBinaryFileConversion(files.source, makeAsciiConversionTarget(files.target, formats, ui), ui);
        case ConversionKind::AsciiTimestamps:
            return makeAsciiTimestampConversion(files.source, files.target, formats, ui);
    }
    return nullptr;
}

ConversionOutcome convertFile(ConversionKind kind, const ConversionFiles &files, const RegionalFormats &formats,
                              UserInterface &ui, ConversionProgress &progress) {
    const std::unique_ptr<Conversion> conversion = makeConversion(kind, files, formats, ui);
    return runConversion(files.source, *conversion, ui, progress);
}

} // namespace korvel
