// The file a conversion reads: a regular file opened for reading while no
// one writes it (a shared lock, which the logger's exclusive one excludes),
// read front to back.
#pragma once

#include "platform/file_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace korvel {

class ConversionSource {
public:
    // Nothing when the file cannot be opened, is no regular file, or a
    // writer holds it.
    static std::optional<ConversionSource> open(const std::string &path);

    std::uint64_t length() const { return length_; }
    std::uint64_t bytesRead() const { return bytesRead_; }

    // Up to capacity bytes into buffer: 0 at the end of the file, nothing
    // when the system cannot read it.
    std::optional<std::size_t> read(char *buffer, std::size_t capacity);

private:
    ConversionSource(FileDescriptor fd, std::uint64_t length) : fd_(std::move(fd)), length_(length) {}

    FileDescriptor fd_;
    std::uint64_t length_ = 0;
    std::uint64_t bytesRead_ = 0;
};

} // namespace korvel
