// The input side of a line-oriented local connection: bytes arrive in pieces
// and leave as whole lines, and no line may grow beyond a bound, so that a
// peer cannot make us hold an unbounded amount of its input.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace korvel {

class LineBuffer {
public:
    explicit LineBuffer(std::size_t maxLineBytes) : maxLineBytes_(maxLineBytes) {}

    // Adds received bytes. False when a line, not counting its "\n", is longer
    // than the bound; the buffer is of no further use then.
    bool append(const char *data, std::size_t size);

    // The next whole line without its "\n" (and without a "\r" before it).
    std::optional<std::string> nextLine();

private:
    std::size_t maxLineBytes_;
    std::string bytes_;
    std::size_t start_ = 0; // where the next line to take begins
    std::size_t tail_ = 0;  // where the line still without its "\n" begins
};

} // namespace korvel
