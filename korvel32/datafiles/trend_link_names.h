// The names of Trend Link output, all made from the data-file path (a
// "pointer file" ending in .set): the data sets, their directory, the chart
// file, the tags and the batches.
#pragma once

#include "setup/setup_codes.h"

#include <cstddef>
#include <string>

namespace korvel {

inline constexpr std::size_t kDataSetNameLength = 54;
inline constexpr std::size_t kBatchNameBaseLength = 53;
inline constexpr std::size_t kChartNameLength = 8;
inline constexpr std::size_t kDataSetDescriptionLength = 63;

// The file name of the path without directory and extension, cut to 54
// characters, trailing blanks removed.
std::string dataSetName(const std::string &dataFilePath);

// The data set of one instrument: an Async instrument's is the name itself;
// in a group the Master's adds "-%02um" with its BCN and each Slave's "-%02us".
std::string instrumentDataSetName(const std::string &name, GroupRole role, unsigned bcn);

// The directory of a path's data sets (a group's share it): the path's
// directory + "/_" + the data set name.
std::string dataSetDirectory(const std::string &dataFilePath);

// The chart file: in the data set directory, the first 8 characters of the
// file name without extension + ".cht".
std::string chartFilePath(const std::string &dataFilePath);

// The data set two data-file paths would both write to when this is the
// same for them (names match without regard to case).
std::string trendLinkDataSetOf(const std::string &dataFilePath);

// The tag of an instrument's channel: BCN and channel, "%02u%02u".
std::string channelTagName(unsigned bcn, int channel);

// The instrument a tag belongs to, by the BCN its name starts with ("07DIO"
// is instrument 7's); 0 when the name starts with no BCN.
unsigned tagBcn(const std::string &tagName);

// The four tags every instrument has beside its channels, in their order.
enum class FurtherTag { DigitalIo, Totalizer, Alarm1, Alarm2 };
inline constexpr FurtherTag kFurtherTags[] = {FurtherTag::DigitalIo, FurtherTag::Totalizer, FurtherTag::Alarm1,
                                              FurtherTag::Alarm2};
std::string furtherTagName(unsigned bcn, FurtherTag tag);
const char *furtherTagDescription(FurtherTag tag);

// What comes before ":" and the number in a batch's name: the setup's batch
// name, else the data file's name without directory, cut to 53 characters.
std::string batchNameBase(const std::string &batchName, const std::string &dataFilePath);

} // namespace korvel
