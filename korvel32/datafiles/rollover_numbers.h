// The numbers 001..999 that rolled-over copies of a data file take in place
// of its extension (data.bin -> data.001), and the search for a free one.
#pragma once

#include <bitset>
#include <optional>
#include <string>

namespace korvel {

constexpr int kMostRolloverNumbers = 999;

// The data-file path with its extension replaced by the number as three
// digits, or ".nnn" appended when the name has no extension.
std::string numberedPath(const std::string &dataFilePath, int number);

class RolloverNumbers {
public:
    // Marks the number of every file beside the data file that shares its
    // name up to the extension and ends in three digits; forgets the last.
    void rebuild(const std::string &dataFilePath);

    // Claims the next free number after the last one used, wrapping to 001,
    // that is neither marked nor the name of an existing file, and returns
    // its path; none when all 999 are taken.
    std::optional<std::string> claim(const std::string &dataFilePath);

private:
    std::bitset<kMostRolloverNumbers + 1> used_; // bit 0 unused
    int last_ = -1;                              // none yet
};

} // namespace korvel
