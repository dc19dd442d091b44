// One reply of an instrument's calibration port as it arrives character by
// character: text, a status character, then ">" CR LF, 30 characters at
// most. Characters past that are refused, never stored.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace korvel {

class CalibrationReply {
public:
    static constexpr std::size_t kCapacity = 30; // terminator included

    enum class State { Incomplete, Complete, Overlong };

    // Takes the next character; Overlong when the reply has no room for it.
    State add(char character);
    void clear() { length_ = 0; }

    // Of a complete reply: the character before ">", and the text before it.
    char status() const { return chars_[length_ - 4]; }
    std::string_view value() const { return {chars_.data(), length_ - 4}; }

private:
    bool complete() const;

    std::array<char, kCapacity> chars_{};
    std::size_t length_ = 0;
};

} // namespace korvel
