#include "platform/free_disk_space.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace korvel {
namespace {

bool deviceOf(const std::filesystem::path &path, dev_t &device) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return false;
    device = status.st_dev;
    return true;
}

} // namespace

std::optional<std::uint64_t> FreeDiskSpace::freeBytes(const std::string &path) const {
    struct statvfs status {};
    if (::statvfs(nearestExistingDirectory(path).c_str(), &status) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.f_bavail) * status.f_frsize;
}

std::string nearestExistingDirectory(const std::string &path) {
    std::error_code error;
    std::filesystem::path candidate = std::filesystem::absolute(path, error).lexically_normal();
    while (!std::filesystem::is_directory(candidate, error) && candidate.has_relative_path())
        candidate = candidate.parent_path();
    return candidate.string();
}

std::string mountPointOf(const std::string &path) {
    std::filesystem::path mount = nearestExistingDirectory(path);
    dev_t device{};
    if (!deviceOf(mount, device)) return "/";
    while (mount.has_relative_path()) {
        dev_t parentDevice{};
        if (!deviceOf(mount.parent_path(), parentDevice) || parentDevice != device) break;
        mount = mount.parent_path();
    }
    return mount.string();
}

} // namespace korvel
