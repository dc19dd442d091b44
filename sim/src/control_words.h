// The words of a control line read as numbers and switches. A word that is
// not what its command takes throws ControlError, which becomes the line's
// "error" reply.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace korvelsim {

struct ControlError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Decimal, or hexadecimal after "0x"; an optional leading minus.
std::int64_t toInteger(const std::string &text);
std::int32_t toInt32(const std::string &text);
// 0 .. 1000000.
int toCount(const std::string &text);
float toFloat(const std::string &text);
// Any number; not 0 is on.
bool toSwitch(const std::string &text);

} // namespace korvelsim
