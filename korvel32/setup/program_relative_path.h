// The toolbox names files relative to the program directory unless it gives
// an absolute path.
#pragma once

#include <filesystem>
#include <string>

namespace korvel {

inline std::string programRelativePath(const std::string &programDirectory, const std::string &fileName) {
    const std::filesystem::path name(fileName);
    if (name.is_absolute()) return fileName;
    return (std::filesystem::path(programDirectory) / name).string();
}

} // namespace korvel
