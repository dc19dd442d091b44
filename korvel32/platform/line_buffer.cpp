#include "platform/line_buffer.h"

namespace korvel {

bool LineBuffer::append(const char *data, std::size_t size) {
    // Taken lines are dropped only now and then, so that taking a line costs
    // no copy of the rest.
    if (start_ > 0 && start_ >= bytes_.size() / 2) {
        bytes_.erase(0, start_);
        tail_ -= start_;
        start_ = 0;
    }
    const std::size_t searchFrom = bytes_.size();
    bytes_.append(data, size);
    for (std::size_t end = bytes_.find('\n', searchFrom); end != std::string::npos; end = bytes_.find('\n', end + 1)) {
        if (end - tail_ > maxLineBytes_) return false;
        tail_ = end + 1;
    }
    return bytes_.size() - tail_ <= maxLineBytes_;
}

std::optional<std::string> LineBuffer::nextLine() {
    if (start_ == tail_) return std::nullopt;
    const std::size_t end = bytes_.find('\n', start_);
    std::size_t length = end - start_;
    if (length > 0 && bytes_[start_ + length - 1] == '\r') --length;
    std::string line = bytes_.substr(start_, length);
    start_ = end + 1;
    return line;
}

} // namespace korvel
