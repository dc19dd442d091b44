// An open file descriptor with the writes and locks the program's files
// need: every byte or a count of those the disk took, and advisory locks that
// never wait, so that a file another program holds is reported at once
// instead of stalling the logging.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace korvel {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor &&other) noexcept;
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }

    // Closes now (releasing its locks); false when the system reports that
    // what was written could not be stored.
    bool close();

private:
    int fd_ = -1;
};

// Writes the bytes, going on after interruptions and partial writes, at the
// file's position or, when given, at offset. Returns the bytes written: fewer
// than given when the disk took no more.
std::size_t writeAll(int fd, std::string_view bytes, std::optional<std::uint64_t> offset = std::nullopt);

enum class FileLock { Shared, Exclusive };

// Takes the advisory lock without waiting; false when another holder has it.
bool tryLock(int fd, FileLock kind);

} // namespace korvel
