// tl32 --export DATASET_DIR: every data set found in a directory as one CSV
// table, one row per time, one column per "data set:tag".
#pragma once

#include <ostream>
#include <string>

namespace tl32 {

// Writes the table; false with the reason in problem when the directory holds
// no data set or one cannot be read.
bool exportDataSets(const std::string &directory, std::ostream &out, std::string &problem);

} // namespace tl32
