#include "platform/file_descriptor.h"

#include <cerrno>
#include <utility>

#include <sys/file.h>
#include <unistd.h>

namespace korvel {

FileDescriptor::~FileDescriptor() { close(); }

FileDescriptor::FileDescriptor(FileDescriptor &&other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

bool FileDescriptor::close() {
    if (fd_ < 0) return true;
    return ::close(std::exchange(fd_, -1)) == 0;
}

std::size_t writeAll(int fd, std::string_view bytes, std::optional<std::uint64_t> offset) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const char *from = bytes.data() + written;
        const std::size_t count = bytes.size() - written;
        const ssize_t n =
            offset ? ::pwrite(fd, from, count, static_cast<off_t>(*offset + written)) : ::write(fd, from, count);
        if (n > 0)
            written += static_cast<std::size_t>(n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    return written;
}

bool tryLock(int fd, FileLock kind) {
    return ::flock(fd, (kind == FileLock::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0;
}

} // namespace korvel
