// The scans of simulate mode: made up on the PC's clock from the setup, so
// that the whole logging path can be tried without an instrument.
#pragma once

#include "logging/logging_run.h"
#include "platform/clock.h"
#include "setup/instrument_setup.h"

#include <cstdint>

namespace korvel {

// Leaves one simulated scan in the buffer (count 1) when the interval since
// the last one has passed, else none (count 0). simulationClock is the slot's
// calendar second of its last simulated scan; a run without data, or a clock
// that went backwards, starts it over. interval is the setup's interval 1 (a
// Slave's Master's); scans come at most once a second.
void simulateScan(ScanBuffer &buffer, std::int64_t &simulationClock, bool runHasData, const InstrumentSetup &setup,
                  double interval, int slot, CalendarTime now);

} // namespace korvel
