// The free space of the file system a path lies on, for the low-disk checks
// of the data outputs. The path need not exist yet: its nearest existing
// directory decides. A test overrides freeBytes to make a disk look full
// without filling one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvel {

class FreeDiskSpace {
public:
    virtual ~FreeDiskSpace() = default;

    // Bytes an unprivileged program may still write there; nullopt when the
    // file system cannot be asked.
    virtual std::optional<std::uint64_t> freeBytes(const std::string &path) const;
};

// The nearest directory of path that exists (path itself when it is one).
std::string nearestExistingDirectory(const std::string &path);

// Where the file system of path is mounted ("/" when nothing else is), the
// way the user names the disk in a message.
std::string mountPointOf(const std::string &path);

} // namespace korvel
