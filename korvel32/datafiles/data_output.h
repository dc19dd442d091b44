// The open data output of an Async or Master slot while it logs, in the
// format its setup chose: a .bin or .csv data file, or the instrument's
// Trend Link data sets (a Master's with one per Slave). Opened by the start
// commands, written a batch at a time by the logging tick, looked after every
// 5 seconds and closed at the end of the run.
#pragma once

#include "kvlink32.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace korvel {

class ScanBatch;
struct DaylightStates;

class DataOutput {
public:
    virtual ~DataOutput() = default;

    virtual bool isOpen() const = 0;

    // The scans of the last read of the instrument with this BCN: the owner
    // or, where each instrument of a group keeps its own data, a Slave.
    // False when they could not all be stored.
    virtual bool writeBatch(unsigned bcn, const ScanBatch &batch, DaylightStates &daylight) = 0;

    // One merged scan of a Master group whose scans share one file: the
    // Master's scan and each slave's paired scan in slot order (nullptr for
    // a slave without a scan yet).
    virtual bool writeMerged(const ScanRecord &owner, std::span<const ScanRecord *const> slaves,
                             DaylightStates &daylight) = 0;

    // Commits what was written to disk unless that was done in the same
    // second; true when it did.
    virtual bool flushIfDue(std::int64_t now) = 0;

    // The rollover and free-space checks of a run (now: calendar seconds).
    // Returns the warning the user is to see, once, when the disk runs low.
    virtual std::optional<std::string> checkRollover(std::int64_t now) = 0;

    // False when what was written could not all be stored.
    virtual bool close() = 0;
};

} // namespace korvel
