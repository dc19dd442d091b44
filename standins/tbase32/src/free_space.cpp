#include "free_space.h"

#include <sys/statvfs.h>

#include <cstdlib>
#include <fstream>

#include "store_error.h"
#include "tbase32.h"

namespace tbase {
namespace {

std::optional<std::uint64_t> freeBytesFromSeam() {
    const char *seam = std::getenv("TBASE32_FREE_SPACE_FILE");
    if (!seam || !*seam) return std::nullopt;
    std::ifstream in(seam);
    std::uint64_t bytes = 0;
    if (!(in >> bytes)) return std::nullopt;
    return bytes;
}

} // namespace

std::optional<std::uint64_t> freeBytes(const std::string &directory) {
    if (const auto seam = freeBytesFromSeam()) return seam;
    struct statvfs status {};
    if (::statvfs(directory.c_str(), &status) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.f_bavail) * status.f_frsize;
}

void requireFreeSpace(const std::string &directory) {
    const auto bytes = freeBytes(directory);
    if (bytes && *bytes < static_cast<std::uint64_t>(TBASE_DISK_RESERVE))
        fail(TBASE_E_DISK_FULL, "Only " + std::to_string(*bytes) + " bytes of free disk space remain in " + directory);
}

} // namespace tbase
