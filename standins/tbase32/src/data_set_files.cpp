#include "data_set_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "store_error.h"
#include "tbase32.h"

namespace tbase {
namespace {

constexpr char kRolledOverExtension[] = ".HIS";

// The number of a rolled-over file name "NAME.nnnnn.HIS" of this data set; 0 for any other name.
unsigned rolledOverNumber(const std::string &fileName, const std::string &name) {
    const std::size_t extension = std::strlen(kRolledOverExtension);
    if (fileName.size() < name.size() + 1 + 5 + extension) return 0;
    if (fileName.compare(0, name.size(), name) != 0 || fileName[name.size()] != '.') return 0;
    if (fileName.compare(fileName.size() - extension, extension, kRolledOverExtension) != 0) return 0;
    const std::string digits = fileName.substr(name.size() + 1, fileName.size() - name.size() - 1 - extension);
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return static_cast<unsigned>(std::stoul(digits));
}

std::vector<std::pair<unsigned, std::string>> rolledOverFiles(const DataSetFiles &files) {
    std::vector<std::pair<unsigned, std::string>> found;
    DIR *dir = ::opendir(files.directory.c_str());
    if (!dir) return found;
    while (const dirent *entry = ::readdir(dir)) {
        if (const unsigned number = rolledOverNumber(entry->d_name, files.name))
            found.emplace_back(number, files.directory + "/" + entry->d_name);
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::string fileErrorText(const std::string &what, const std::string &path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

std::string DataSetFiles::rolledOverPath(unsigned number) const {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%05u", number);
    return directory + "/" + name + "." + digits + kRolledOverExtension;
}

std::vector<std::string> DataSetFiles::rolledOverPaths() const {
    std::vector<std::string> paths;
    for (auto &[number, path] : rolledOverFiles(*this)) paths.push_back(std::move(path));
    return paths;
}

unsigned DataSetFiles::nextRolledOverNumber() const {
    const auto found = rolledOverFiles(*this);
    return found.empty() ? 1 : found.back().first + 1;
}

bool fileExists(const std::string &path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

void syncDirectory(const std::string &directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

DataSetLock::DataSetLock(const std::string &path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) fail(TBASE_E_FILE, fileErrorText("Cannot create", path, errno));
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fail(TBASE_E_DATA_SET_IN_USE, "The data set is open in another program or handle (" + path + ")");
    }
}

DataSetLock::~DataSetLock() { ::close(fd_); }

bool DataSetLock::isHeld(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

} // namespace tbase
