#include "app/setup_title.h"

#include <filesystem>

namespace korvel {

std::string setupTitle(const std::string &pathName) {
    if (pathName.empty()) return kNewSetupTitle;
    return std::filesystem::path(pathName).filename().string();
}

std::string proposedSetupFileName(const std::string &pathName) {
    if (!pathName.empty()) return pathName;
    return std::string(kNewSetupTitle) + ".stp";
}

} // namespace korvel
