#include "datafiles/conversion_text_target.h"

#include <algorithm>
#include <utility>

namespace korvel {
namespace {

// The buffer, written out whenever the next piece would not fit.
constexpr std::size_t kWriteSize = 256 * 1024;

} // namespace

bool ConversionTextTarget::create(const std::string &path) {
    std::optional<LockedDataFile> file = LockedDataFile::create(path);
    if (!file) return false;
    file_ = std::move(*file);
    buffer_.resize(kWriteSize);
    return true;
}

char *ConversionTextTarget::room(std::size_t bytes) {
    if (buffer_.size() - used_ < bytes) {
        writeBuffered();
        if (buffer_.size() < bytes) buffer_.resize(bytes);
    }
    return buffer_.data() + used_;
}

void ConversionTextTarget::append(std::string_view text) {
    char *end = std::copy(text.begin(), text.end(), room(text.size()));
    commit(end);
}

void ConversionTextTarget::writeBuffered() {
    if (!failed_ && used_ > 0) failed_ = file_.append({buffer_.data(), used_}) != used_;
    used_ = 0;
}

bool ConversionTextTarget::close() {
    writeBuffered();
    const bool stored = file_.close();
    return stored && !failed_;
}

} // namespace korvel
