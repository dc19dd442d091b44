// How the instruments of the communications configuration read in the lists
// that offer them: "05  M100A", and in a general network with the address,
// "05  M100A  @  010.001.002.003".
#pragma once

#include "link/instrument_link.h"

#include <string>

namespace korvel {

std::string ccfListLine(const CcfEntry &entry, bool withAddress);

// The BCN a line stands for, from its first two digits; 0 when it has none.
unsigned bcnOfListLine(const std::string &line);

} // namespace korvel
