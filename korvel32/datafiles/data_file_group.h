// The instruments whose scans share one data file: the owner (an Async
// instrument or the Master) and, for a Master, every Slave in slot order.
#pragma once

#include "setup/instrument_setup.h"

#include <cstddef>
#include <vector>

namespace korvel {

class InstrumentTable;

struct InstrumentPart {
    unsigned bcn = 0;
    const InstrumentSetup *setup = nullptr;
    std::vector<int> channels; // the channels that are not OFF, in channel order

    // Bytes of this instrument's ScanRecord: 28 + 4 per defined channel.
    std::size_t recordSize() const;
};

struct DataFileGroup {
    InstrumentPart owner;
    bool master = false;
    std::vector<InstrumentPart> slaves; // empty unless master

    // The merged record: the owner's record and each slave's from byte 12 on.
    std::size_t recordSize() const;
};

// The bytes of a ScanRecord before the milliseconds, which a merged record
// keeps only for the owner: the slaves share the owner's time.
constexpr std::size_t kScanTimePrefixSize = 12;

InstrumentPart instrumentPart(unsigned bcn, const InstrumentSetup &setup);

// The group of the file an Async or Master slot writes.
DataFileGroup dataFileGroupOf(const InstrumentTable &table, int slot);

} // namespace korvel
