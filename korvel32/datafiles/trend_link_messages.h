// The Trend Link messages about a disk. They name the disk of a path by
// where its file system is mounted, and the free bytes where they say how
// many remain.
#pragma once

#include <cstdint>
#include <string>

namespace korvel {

std::string driveMessage(int id, const std::string &path);
std::string driveMessage(int id, const std::string &path, std::uint64_t freeBytes);

} // namespace korvel
