// A data file held open for reading and writing while other writers are
// denied (an exclusive advisory lock), appended to in whole records only.
#pragma once

#include "platform/file_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace korvel {

class LockedDataFile {
public:
    LockedDataFile() = default;
    // Waits for a commit still running on the file before closing it.
    ~LockedDataFile();
    LockedDataFile(LockedDataFile &&other) noexcept;
    LockedDataFile &operator=(LockedDataFile &&other) noexcept;

    // Creates the file, or empties an existing one, once the lock is held,
    // so that a file another logger is writing is never cut short.
    static std::optional<LockedDataFile> create(const std::string &path);
    // Opens an existing file positioned at its end.
    static std::optional<LockedDataFile> openExisting(const std::string &path);

    bool isOpen() const { return fd_.valid(); }
    std::uint64_t size() const { return size_; }

    // Up to count bytes from the start of the file.
    std::string readPrefix(std::size_t count) const;

    // Appends bytes made of records that end at the given offsets (ascending,
    // the last one bytes.size()). When the disk refuses part of it, the file
    // keeps the records that were written whole and loses the torn one, so
    // everything after a failure still lines up. Returns the records kept.
    std::size_t appendRecords(std::string_view bytes, std::span<const std::size_t> recordEnds);
    // The same for records of one size.
    std::size_t appendRecords(std::string_view bytes, std::size_t recordSize);
    // Appends text that has no records to keep whole (a converted file);
    // returns the bytes the disk took.
    std::size_t append(std::string_view bytes);

    // Has what was written committed to the disk, without waiting for it.
    bool flush();
    // False when the system reports that what was written could not be
    // stored (close fails).
    bool close();

private:
    LockedDataFile(FileDescriptor fd, std::uint64_t size) : fd_(std::move(fd)), size_(size) {}

    // Writes at the end of the file; returns the bytes the disk took.
    std::size_t writeAtEnd(std::string_view bytes);
    // Keeps the first keptBytes of the written ones as part of the file.
    void keepWhole(std::size_t written, std::size_t keptBytes);

    FileDescriptor fd_;
    std::uint64_t size_ = 0;
};

} // namespace korvel
