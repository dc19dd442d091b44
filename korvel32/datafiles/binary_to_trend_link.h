// Fast data file to Trend Link: the file's instruments become data sets as
// logging them into Trend Link would have made them (one per instrument, a
// Master's named "-%02um" and each Slave's "-%02us", in the directory beside
// the target), with one tag per column of the file, the chart file and the
// pointer file at the target path. Every merged record is stored at the
// Trend Link time of its scan, with the values logging stores.
#pragma once

#include "datafiles/binary_file_conversion.h"
#include "datafiles/file_conversions.h"

#include <memory>

namespace korvel {

std::unique_ptr<BinaryConversionTarget> makeTrendLinkConversionTarget(const ConversionFiles &files,
                                                                      const ConversionContext &context);

} // namespace korvel
