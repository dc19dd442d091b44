#include "datafiles/file_conversions.h"

#include "datafiles/ascii_timestamps.h"
#include "datafiles/binary_to_ascii.h"
#include "datafiles/binary_to_trend_link.h"

namespace korvel {

std::unique_ptr<Conversion> makeConversion(ConversionKind kind, const ConversionFiles &files,
                                           const ConversionContext &context) {
    UserInterface &ui = context.ui;
    switch (kind) {
        case ConversionKind::BinaryToAscii:
            return makeBinaryFileConversion(files.source, makeAsciiConversionTarget(files.target, context.formats, ui),
                                            ui);
        case ConversionKind::AsciiTimestamps:
            return makeAsciiTimestampConversion(files.source, files.target, context.formats, ui);
        case ConversionKind::BinaryToTrendLink:
            return makeBinaryFileConversion(files.source, makeTrendLinkConversionTarget(files, context), ui);
    }
    return nullptr;
}

ConversionOutcome convertFile(ConversionKind kind, const ConversionFiles &files, const ConversionContext &context,
                              ConversionProgress &progress) {
    const std::unique_ptr<Conversion> conversion = makeConversion(kind, files, context);
    return runConversion(files.source, *conversion, context.ui, progress);
}

} // namespace korvel
