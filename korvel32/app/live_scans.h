// What the live windows read of a logging run: the newest scan an instrument
// delivered, and where a channel's reading stands in a scan.
#pragma once

#include "kvlink32.h"
#include "setup/instrument_setup.h"

namespace korvel {

class LoggingEngine;

// The newest scan of the slot's run; nullptr while the instrument does not
// log or has delivered no scan in this run, so that a window never shows a
// reading of an earlier run.
const ScanRecord *latestScanOf(const LoggingEngine &engine, int slot);

// A scan holds the readings of the channels that are not OFF, in channel
// order: the channel's place among them, -1 for an OFF channel.
int readingIndex(const InstrumentSetup &setup, int channel);

} // namespace korvel
