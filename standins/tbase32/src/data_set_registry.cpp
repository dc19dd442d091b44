#include "data_set_registry.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "data_set_files.h"
#include "platform/ini_profile.h"
#include "store_error.h"
#include "tbase32.h"

namespace tbase {
namespace {

constexpr char kDataSetsSection[] = "Data Sets";
constexpr char kSettingsSection[] = "TL Settings";
constexpr char kLocalPathKey[] = "TLLocal Path";
constexpr std::size_t kLongestDirectory = 4096;

std::string directoryOf(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string ownDirectory() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void *>(&ownDirectory), &info) == 0 || !info.dli_fname) return ".";
    return directoryOf(info.dli_fname);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Serialises the read-modify-write of infolink.ini between programs (flock on
// its directory, which the rewrite of the file by rename leaves in place).
class RegistryLock {
public:
    explicit RegistryLock(const std::string &infolinkPath)
            : fd_(::open(directoryOf(infolinkPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~RegistryLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    RegistryLock(const RegistryLock &) = delete;
    RegistryLock &operator=(const RegistryLock &) = delete;

private:
    int fd_;
};

[[noreturn]] void cannotWrite(const std::string &path) {
    fail(TBASE_E_INFOLINK, "Cannot write " + path + ": check its permissions and free disk space");
}

} // namespace

Registry::Registry(std::string infolinkPath) : path_(std::move(infolinkPath)) {}

Registry Registry::located() {
    const char *dir = std::getenv("TBASE32_INFOLINK_DIR");
    return Registry((dir && *dir ? std::string(dir) : ownDirectory()) + "/infolink.ini");
}

void Registry::create() const {
    if (fileExists(path_)) return;
    RegistryLock lock(path_);
    if (!fileExists(path_) && !korvel::writeProfileString(path_, kSettingsSection, kLocalPathKey, ""))
        cannotWrite(path_);
}

std::optional<Registry::Entry> Registry::find(std::string_view name) const {
    for (std::string &registered : korvel::readProfileKeys(path_, kDataSetsSection)) {
        if (!sameName(registered, name)) continue;
        std::string directory = korvel::readProfileString(path_, kDataSetsSection, registered, "", kLongestDirectory);
        return Entry{std::move(registered), std::move(directory)};
    }
    return std::nullopt;
}

Registry::Entry Registry::entry(std::string_view name) const {
    auto found = find(name);
    if (!found) fail(TBASE_E_DATA_SET_UNKNOWN, "Data set \"" + std::string(name) + "\" is not registered in " + path_);
    return std::move(*found);
}

std::vector<std::string> Registry::names() const { return korvel::readProfileKeys(path_, kDataSetsSection); }

void Registry::add(const std::string &name, const std::string &directory) const {
    RegistryLock lock(path_);
    if (const auto existing = find(name))
        fail(TBASE_E_DATA_SET_EXISTS,
             "Data set \"" + existing->name + "\" is registered already, in " + existing->directory);
    if (names().size() >= TBASE_MAX_DATA_SETS)
        fail(TBASE_E_TOO_MANY_DATA_SETS,
             "infolink.ini holds " + std::to_string(TBASE_MAX_DATA_SETS) + " data sets: delete one first");
    if (!korvel::writeProfileString(path_, kDataSetsSection, name, directory)) cannotWrite(path_);
}

void Registry::remove(const std::string &name) const {
    RegistryLock lock(path_);
    const Entry registered = entry(name);
    if (!korvel::deleteProfileKey(path_, kDataSetsSection, registered.name)) cannotWrite(path_);
}

} // namespace tbase
