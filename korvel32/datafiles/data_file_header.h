// The six text lines that head every .csv and .bin data file: file name,
// creation time, comment, column counts, column titles and channel numbers.
#pragma once

#include <string>

namespace korvel {

struct DataFileGroup;
struct RegionalFormats;

// creationText is the date-time text of the moment the file was made.
std::string dataFileHeader(const DataFileGroup &group, const std::string &fileName, const std::string &creationText,
                           const RegionalFormats &formats);

} // namespace korvel
