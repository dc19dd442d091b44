// One running program's hold on a local socket name: an exclusive lock on
// "<socket path>.lock". A program that ends, however it ends, lets go of it,
// so a name is taken over only from a program that is gone, and of two
// programs starting at once only one gets it. Whoever holds the claim may
// remove what is left at the socket's path and bind there.
#pragma once

#include "platform/file_descriptor.h"

#include <optional>
#include <string>
#include <utility>

namespace korvel {

class LocalNameClaim {
public:
    // The claim on the socket at socketPath; nullopt when a running program
    // holds it. Throws std::system_error when the lock file cannot be opened.
    static std::optional<LocalNameClaim> tryClaim(const std::string &socketPath);
    // The same, where a name held by a running program is a failure
    // (std::system_error with EADDRINUSE).
    static LocalNameClaim claim(const std::string &socketPath);

    // The lock file stays when the claim ends: removing it would let a later
    // program lock a file that the next one no longer sees.

private:
    explicit LocalNameClaim(FileDescriptor lock) : lock_(std::move(lock)) {}

    FileDescriptor lock_;
};

} // namespace korvel
