#include "setup/setup_file_io.h"

#include "platform/atomic_replace.h"
#include "platform/file_descriptor.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace korvel {

std::optional<std::vector<std::uint8_t>> readSetupFile(const std::string &path) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid() || !tryLock(file.get(), FileLock::Shared)) return std::nullopt;
    std::vector<std::uint8_t> bytes(kSetupFileSizeLimit);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

bool replaceSetupFile(const std::string &path, std::span<const std::uint8_t> bytes) {
    return replaceFile(path, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

} // namespace korvel
