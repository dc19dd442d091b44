// Free disk space of a data set's directory: the file system's count, or
// the number in the file named by TBASE32_FREE_SPACE_FILE, so that a test
// can make a disk look full without filling one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tbase {

std::optional<std::uint64_t> freeBytes(const std::string &directory);

// Throws TBASE_E_DISK_FULL when storing would leave less than TBASE_DISK_RESERVE bytes.
void requireFreeSpace(const std::string &directory);

} // namespace tbase
