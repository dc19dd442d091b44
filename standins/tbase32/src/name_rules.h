// What names and texts the historian accepts. Data set names become keys of
// infolink.ini and parts of file names, tag names the second half of a chart
// curve's "data set:tag", so each refuses what would break its home.
#pragma once

#include <string>
#include <string_view>

namespace tbase {

// Each throws TBASE_E_ARGUMENT naming the argument and the rule it breaks.
void checkDataSetName(const char *name);
void checkTagName(const char *name);
void checkBatchName(const char *name);
void checkDirectory(const char *directory);
// A description or units text: null counts as empty.
std::string checkedText(const char *text, std::size_t longest, std::string_view what);

} // namespace tbase
