// Whether something is at a path. A place that cannot be looked at (a folder
// without permission, a name too long) counts as nothing there, never as an
// exception, so that callers can treat a missing and an unreachable file alike.
#pragma once

#include <filesystem>
#include <system_error>

namespace korvel {

// A file, folder or anything else.
inline bool fileExists(const std::filesystem::path &path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// Only a regular file (or a link to one): a folder of that name is not it.
inline bool regularFileExists(const std::filesystem::path &path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace korvel
