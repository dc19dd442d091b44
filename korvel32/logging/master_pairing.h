// The pairing of a Master group's scans by time: the Master's data file
// receives one merged scan per Master scan, made of the Master's record and,
// for every slave, the slave scan nearest in time to it. The Master's newest
// scan of a read is held back until slave scans after it can be considered.
#pragma once

#include "logging/logging_run.h"

#include <cstdint>
#include <span>
#include <vector>

namespace korvel {

// What the pairing needs of the instruments of the group.
class PairingInstruments {
public:
    virtual ~PairingInstruments() = default;
    // One read of the slot's queued scans into its buffer; false when the
    // instrument could not be read.
    virtual bool readScans(int slot) = 0;
    virtual ScanBuffer &scanBuffer(int slot) = 0;
    virtual LoggingRun &run(int slot) = 0;
    virtual bool writeMerged(int master, const ScanRecord &masterScan,
                             std::span<const ScanRecord *const> slaveScans) = 0;
    // Asks a slave for its internal error word, so that a group whose Master
    // brings nothing still talks to its slaves now and then.
    virtual void queryInternalError(int slot) = 0;
};

struct PairingOutcome {
    bool readSucceeded = false; // the Master's read
    int newScans = 0;           // scans the Master's read brought
    bool written = false;       // at least one merged scan reached the file
};

class MasterPairing {
public:
    // Seconds without new Master scans between two questions to the slaves.
    static constexpr std::int64_t kSlaveCheckPeriod = 20;

    // One turn of the Master: reads it, pairs and writes what can be paired.
    // slaves: the slots of the group's slaves in slot order. now: calendar
    // seconds.
    PairingOutcome serve(PairingInstruments &instruments, int master, const std::vector<int> &slaves, std::int64_t now);

private:
    std::int64_t lastSlaveCheck_ = 0;
};

} // namespace korvel
