// What the logger's answers mean, in words for the add-on's clients.
#pragma once

#include <cstdint>
#include <string>

namespace qpext32 {

// The meaning of a remote command's reply code, for the command that got it
// and the BCN that came back with it.
std::string replyMeaning(std::uint32_t command, int bcn, int reply);

// The problem an error report of remote mode names.
std::string errorReportText(int code);

} // namespace qpext32
