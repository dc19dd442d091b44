// Whole-file reading and replacing for setup files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvel {

// The largest setup file read: well above the largest record form, and the
// first part of a text setup file that is larger.
inline constexpr std::size_t kSetupFileSizeLimit = 1024 * 1024;

// Up to kSetupFileSizeLimit bytes of the file; none when it cannot be opened
// or another program holds it for writing.
std::optional<std::vector<std::uint8_t>> readSetupFile(const std::string &path);

// Replaces the file whole (replaceFile), so that a save that fails half way
// leaves the previous file as it was.
bool replaceSetupFile(const std::string &path, std::span<const std::uint8_t> bytes);

} // namespace korvel
