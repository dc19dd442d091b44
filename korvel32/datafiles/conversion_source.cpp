#include "datafiles/conversion_source.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

std::optional<ConversionSource> ConversionSource::open(const std::string &path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        !tryLock(fd.get(), FileLock::Shared)) {
        return std::nullopt;
    }
    return ConversionSource(std::move(fd), static_cast<std::uint64_t>(status.st_size));
}

std::optional<std::size_t> ConversionSource::read(char *buffer, std::size_t capacity) {
    ssize_t got;
    do {
        got = ::read(fd_.get(), buffer, capacity);
    } while (got < 0 && errno == EINTR);
    if (got < 0) return std::nullopt;
    bytesRead_ += static_cast<std::uint64_t>(got);
    return static_cast<std::size_t>(got);
}

} // namespace korvel
