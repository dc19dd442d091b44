// Hands scans to the data file of their instrument. A failed write never
// stops the run: the user is told once until a write succeeds again (the
// toolbox, in remote mode, at every failure), and later scans are written
// when the disk allows.
#pragma once

#include "kvlink32.h"
#include "logging/front_end.h"

#include <span>

namespace korvel {

class InstrumentTable;
class LoggingEngine;
class SlotDataFiles;

// The slot whose data file takes the slot's scans: a Slave's Master, else
// the slot itself. 0 for a Slave without a Master.
int dataFileOwner(const InstrumentTable &table, int slot);

class ScanWriter {
public:
    ScanWriter(const InstrumentTable &table, LoggingEngine &engine, SlotDataFiles &files, const FrontEnd &frontEnd);

    // The scans of the slot's last read, into its own file or, for a Slave,
    // its Master's.
    bool writeBatch(int slot);

    // One merged scan of the Master's group: the Master's scan and each
    // slave's paired scan in slot order (nullptr for a slave without scans).
    bool writeMerged(int master, const ScanRecord &masterScan, std::span<const ScanRecord *const> slaveScans);

private:
    bool report(int slot, bool written);

    const InstrumentTable &table_;
    LoggingEngine &engine_;
    SlotDataFiles &files_;
    FrontEnd frontEnd_;
};

} // namespace korvel
