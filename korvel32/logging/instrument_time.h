// The instrument's form of a PC time: local calendar fields, year modulo 100.
#pragma once

#include "kvlink32.h"

#include <cstdint>

namespace korvel {

InstrumentTime instrumentTimeOf(std::int64_t calendarSeconds);

} // namespace korvel
