// Free disk space as a test says, so that a disk can look full or low
// without filling one; the file system's own answer while it says nothing.
#pragma once

#include "platform/free_disk_space.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kvtest {

class ScriptedFreeSpace : public korvel::FreeDiskSpace {
public:
    std::optional<std::uint64_t> freeBytes(const std::string &path) const override {
        return scripted ? *scripted : korvel::FreeDiskSpace::freeBytes(path);
    }
    // Set: the answer, nullopt for a disk that cannot be asked.
    std::optional<std::optional<std::uint64_t>> scripted;
};

} // namespace kvtest
