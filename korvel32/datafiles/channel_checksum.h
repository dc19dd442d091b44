// The number a .bin file carries on its first line so that appending is
// refused when the file's columns no longer match the setup.
#pragma once

#include <cstdint>

namespace korvel {

struct DataFileGroup;

// The sum of BCN x 100 + channel over every defined channel of the group;
// a Master adds its own BCN, so that a group never matches a lone instrument.
std::uint32_t channelChecksum(const DataFileGroup &group);

} // namespace korvel
