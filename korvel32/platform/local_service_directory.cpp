#include "platform/local_service_directory.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {
namespace {

constexpr mode_t kPrivate = 0700;

[[noreturn]] void fail(int error, const std::string &what) {
    throw std::system_error(error, std::generic_category(), what);
}

bool isDirectory(const char *path) {
    struct stat status {};
    return ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

std::string localServiceDirectory() {
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && isDirectory(runtime)) return std::string(runtime) + "/korvel32";
    return "/tmp/korvel32-" + std::to_string(::geteuid());
}

std::string privateLocalServiceDirectory() {
    const std::string path = localServiceDirectory();
    if (::mkdir(path.c_str(), kPrivate) == 0) {
        // The umask may have taken more than we asked for.
        if (::chmod(path.c_str(), kPrivate) != 0) fail(errno, "cannot set the mode of " + path);
    } else if (errno != EEXIST) {
        fail(errno, "cannot create " + path);
    }
    // Checked through a descriptor opened without following links, so that
    // what is checked is what the path names.
    const int directory = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (directory < 0) fail(errno == ELOOP ? EACCES : errno, path + " is not a directory of ours");
    struct stat status {};
    const int statResult = ::fstat(directory, &status);
    const int statError = errno;
    ::close(directory);
    if (statResult != 0) fail(statError, "cannot examine " + path);
    if (status.st_uid != ::geteuid()) fail(EACCES, path + " belongs to another user");
    if ((status.st_mode & 07777) != kPrivate) fail(EACCES, path + " may be entered by other users (mode is not 0700)");
    return path;
}

std::string localServicePath(const std::string &name) { return localServiceDirectory() + "/" + name; }

} // namespace korvel
