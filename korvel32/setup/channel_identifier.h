// A channel named by its instrument's BCN and its channel number, as
// BCN x 100 + channel (2101: BCN 21, channel 1); shown "%04u".
#pragma once

#include <cstdint>

namespace korvel {

constexpr std::uint32_t channelIdentifier(unsigned bcn, int channel) {
    return bcn * 100U + static_cast<std::uint32_t>(channel);
}
constexpr unsigned bcnOf(std::uint32_t identifier) { return identifier / 100U; }
constexpr int channelOf(std::uint32_t identifier) { return static_cast<int>(identifier % 100U); }

} // namespace korvel
