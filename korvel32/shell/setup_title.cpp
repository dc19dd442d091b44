#include "setup_title.h"

#include <filesystem>

namespace korvel {

namespace {

constexpr std::size_t kTitleCharacters = 8;

} // namespace

std::string setupTitle(const std::string &pathName) {
    if (pathName.empty()) return kNewSetupTitle;
    return std::filesystem::path(pathName).filename().string();
}

std::string proposedSetupFileName(const std::string &pathName, const std::string &title) {
    if (!pathName.empty()) return pathName;
    const std::string cut = title.substr(0, kTitleCharacters);
    return cut.substr(0, cut.find_first_of(" #%;/\\")) + ".stp";
}

} // namespace korvel
