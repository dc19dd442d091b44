// The text file a conversion writes: created empty once no one else writes
// it, and filled through a buffer that goes to the disk in large writes, so
// that a conversion spends its time on the texts rather than on system calls.
#pragma once

#include "datafiles/locked_data_file.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class ConversionTextTarget {
public:
    // False when the file cannot be created or another writer holds it.
    bool create(const std::string &path);

    // Room for up to `bytes` more at the end; commit tells where the text
    // written there ends.
    char *room(std::size_t bytes);
    void commit(const char *end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
    void append(std::string_view text);

    // True once the disk has refused part of what was written; what follows
    // is dropped.
    bool failed() const { return failed_; }

    // Writes out what is buffered and closes the file; false when not all
    // of it was stored.
    bool close();

private:
    void writeBuffered();

    LockedDataFile file_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

} // namespace korvel
