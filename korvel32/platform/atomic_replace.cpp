#include "platform/atomic_replace.h"

#include "platform/file_descriptor.h"

#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {
namespace {

mode_t modeFor(const std::string &path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) return status.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The rename is an entry of the directory, which needs its own flush. The
// file is in place whatever this answers, so a directory that cannot be
// flushed does not turn the replace into a failure.
void syncDirectoryOf(const std::string &path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::filesystem::path directory = parent.empty() ? std::filesystem::path(".") : parent;
    const FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

} // namespace

bool replaceFile(const std::string &path, std::string_view bytes) {
    std::string temporary = path + ".XXXXXX";
    FileDescriptor file(::mkstemp(temporary.data()));
    if (!file.valid()) return false;
    const bool written = ::fchmod(file.get(), modeFor(path)) == 0 && writeAll(file.get(), bytes) == bytes.size() &&
                         ::fsync(file.get()) == 0;
    if (file.close() && written && std::rename(temporary.c_str(), path.c_str()) == 0) {
        syncDirectoryOf(path);
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

} // namespace korvel
