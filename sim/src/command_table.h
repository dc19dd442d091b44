// Which commands an instrument knows, on which connection, and the exact
// request payload size each one carries.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvelsim {

enum class Link { Main, PassThru };

// Error codes the simulated instrument answers with for requests it cannot take.
inline constexpr std::int32_t kUnknownCommand = -1;   // unknown here, or wrong connection
inline constexpr std::int32_t kMalformedRequest = -9; // payload size not the command's
inline constexpr std::int32_t kNoReading = -10;
inline constexpr std::int32_t kStillBusy = -3;        // still completing the last command
inline constexpr std::int32_t kStartTimePassed = -11; // scheduled start already in the past

struct CommandShape {
    std::int32_t code;
    std::size_t requestPayload;
    bool onMain;
    bool onPassThru;
};

// Null for a command the instrument does not know at all.
const CommandShape *findCommand(std::int32_t code);

inline bool allowedOn(const CommandShape &entry, Link link) {
    return link == Link::Main ? entry.onMain : entry.onPassThru;
}

} // namespace korvelsim
