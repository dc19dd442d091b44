#include "datafiles/locked_data_file.h"

#include "platform/background_commits.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {
namespace {

// Opens and locks; invalid when the file cannot be opened or another writer holds it.
FileDescriptor openLocked(const std::string &path, int flags) {
    FileDescriptor fd(::open(path.c_str(), flags | O_RDWR | O_CLOEXEC, 0666));
    if (fd.valid() && !tryLock(fd.get(), FileLock::Exclusive)) fd.close();
    return fd;
}

} // namespace

LockedDataFile::~LockedDataFile() { close(); }

LockedDataFile::LockedDataFile(LockedDataFile &&other) noexcept
        : fd_(std::move(other.fd_)), size_(std::exchange(other.size_, 0)) {}

LockedDataFile &LockedDataFile::operator=(LockedDataFile &&other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::move(other.fd_);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

std::optional<LockedDataFile> LockedDataFile::create(const std::string &path) {
    FileDescriptor fd = openLocked(path, O_CREAT);
    if (!fd.valid() || ::ftruncate(fd.get(), 0) != 0) return std::nullopt;
    return LockedDataFile(std::move(fd), 0);
}

std::optional<LockedDataFile> LockedDataFile::openExisting(const std::string &path) {
    FileDescriptor fd = openLocked(path, 0);
    if (!fd.valid()) return std::nullopt;
    const off_t end = ::lseek(fd.get(), 0, SEEK_END);
    if (end < 0) return std::nullopt;
    return LockedDataFile(std::move(fd), static_cast<std::uint64_t>(end));
}

std::string LockedDataFile::readPrefix(std::size_t count) const {
    std::string bytes(count, '\0');
    const ssize_t got = ::pread(fd_.get(), bytes.data(), count, 0);
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

std::size_t LockedDataFile::writeAtEnd(std::string_view bytes) {
    return isOpen() ? writeAll(fd_.get(), bytes, size_) : 0;
}

void LockedDataFile::keepWhole(std::size_t written, std::size_t keptBytes) {
    if (keptBytes < written) {
        // Cut the torn record off. Should even that fail, the next append
        // starts at the last whole record and overwrites it.
        [[maybe_unused]] const int cut = ::ftruncate(fd_.get(), static_cast<off_t>(size_ + keptBytes));
    }
    size_ += keptBytes;
}

std::size_t LockedDataFile::appendRecords(std::string_view bytes, std::span<const std::size_t> recordEnds) {
    const std::size_t written = writeAtEnd(bytes);
    const auto kept =
        static_cast<std::size_t>(std::upper_bound(recordEnds.begin(), recordEnds.end(), written) - recordEnds.begin());
    keepWhole(written, kept == 0 ? 0 : recordEnds[kept - 1]);
    return kept;
}

std::size_t LockedDataFile::appendRecords(std::string_view bytes, std::size_t recordSize) {
    const std::size_t written = writeAtEnd(bytes);
    const std::size_t kept = recordSize == 0 ? 0 : written / recordSize;
    keepWhole(written, kept * recordSize);
    return kept;
}

std::size_t LockedDataFile::append(std::string_view bytes) {
    const std::size_t written = writeAtEnd(bytes);
    size_ += written;
    return written;
}

bool LockedDataFile::flush() {
    if (!isOpen()) return false;
    commitInBackground(fd_.get());
    return true;
}

// A commit still running on the descriptor ends first; closing releases the lock.
bool LockedDataFile::close() {
    if (!isOpen()) return true;
    settleCommits(fd_.get());
    return fd_.close();
}

} // namespace korvel
