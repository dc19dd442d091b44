#include "platform/local_name_claim.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>

namespace korvel {

std::optional<LocalNameClaim> LocalNameClaim::tryClaim(const std::string &socketPath) {
    const std::string lockPath = socketPath + ".lock";
    FileDescriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!lock.valid()) throw std::system_error(errno, std::generic_category(), "cannot open " + lockPath);
    if (!tryLock(lock.get(), FileLock::Exclusive)) {
        if (errno == EWOULDBLOCK) return std::nullopt;
        throw std::system_error(errno, std::generic_category(), "cannot lock " + lockPath);
    }
    return LocalNameClaim(std::move(lock));
}

LocalNameClaim LocalNameClaim::claim(const std::string &socketPath) {
    std::optional<LocalNameClaim> held = tryClaim(socketPath);
    if (!held)
        throw std::system_error(EADDRINUSE, std::generic_category(), socketPath + " is in use by a running program");
    return std::move(*held);
}

} // namespace korvel
