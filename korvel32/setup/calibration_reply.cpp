#include "setup/calibration_reply.h"

namespace korvel {

// The shortest reply is a status character and the terminator.
bool CalibrationReply::complete() const {
    return length_ >= 4 && chars_[length_ - 1] == '\n' && chars_[length_ - 2] == '\r' && chars_[length_ - 3] == '>';
}

CalibrationReply::State CalibrationReply::add(char character) {
    if (length_ == kCapacity) return State::Overlong;
    chars_[length_++] = character;
    if (complete()) return State::Complete;
    return length_ == kCapacity ? State::Overlong : State::Incomplete;
}

} // namespace korvel
