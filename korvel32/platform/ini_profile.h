// Profile (INI) files with the private-profile rules the settings files rely
// on: section and key names match without regard to case, the first match
// wins, a missing file, section or key gives the caller's default, and a write
// creates whatever is missing while keeping every other line as it was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// A profile file is read only up to this size; a larger one is never rewritten,
// so that a write cannot cut it short.
inline constexpr std::size_t kProfileSizeLimit = 1024 * 1024;

// The value of key in section, cut to bufferSize - 1 characters as a caller's
// buffer of bufferSize characters would hold it; defaultValue (cut the same
// way) when the file, the section or the key is missing. Matching single or
// double quotes around a value are removed.
std::string readProfileString(const std::string &path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize);

// The leading decimal integer of the key's value (0 when it has none), or
// defaultValue when the key is missing.
int readProfileInt(const std::string &path, std::string_view section, std::string_view key, int defaultValue);

// Sets key=value in section, creating the file, the section or the key as
// needed. The file is written with CR LF lines to a temporary file that then
// replaces it. False when the file is read-only, too large or cannot be written.
bool writeProfileString(const std::string &path, std::string_view section, std::string_view key,
                        std::string_view value);

// The keys of section in the order they stand, each once (as first spelled);
// empty when the file or the section is missing.
std::vector<std::string> readProfileKeys(const std::string &path, std::string_view section);

// Removes key from section, keeping every other line as it was. True when the
// key is gone afterwards (also when it was never there); false when the file
// is read-only, too large or cannot be written.
bool deleteProfileKey(const std::string &path, std::string_view section, std::string_view key);

} // namespace korvel
