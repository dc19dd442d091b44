// How one data-file format turns scans into records and writes them, each
// record whole.
#pragma once

#include "kvlink32.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>

namespace korvel {

class LockedDataFile;
class ScanBatch;
struct DataFileGroup;
struct DaylightStates;
struct RegionalFormats;

class ScanFormat {
public:
    // The bytes at the start of an existing file that decide on appending.
    static constexpr std::size_t kAppendCheckSize = 15;

    virtual ~ScanFormat() = default;

    // What comes before the six header lines; empty for a text file.
    virtual std::string prologue() const = 0;

    // Whether an existing file, of which the first bytes are given, may be
    // appended to.
    virtual bool acceptsAppendTo(const std::string &firstBytes) const = 0;

    // Writes the owner's scans of the last read, one record each. The
    // daylight states of the scan-time conversion go from scan to scan of the
    // run. Returns the records the file took whole.
    virtual std::size_t writeScans(LockedDataFile &file, const ScanBatch &batch, DaylightStates &daylight) = 0;

    // One merged record: the owner's scan and each slave's paired scan in
    // slot order; a slave without a scan yet (nullptr) contributes zeros.
    virtual void appendMerged(std::string &out, const ScanRecord &owner, std::span<const ScanRecord *const> slaves,
                              DaylightStates &daylight) const = 0;
};

// The format of a .bin or .csv data file; the group must outlive it.
std::unique_ptr<ScanFormat> makeBinaryScanFormat(const DataFileGroup &group);
std::unique_ptr<ScanFormat> makeAsciiScanFormat(const DataFileGroup &group, const RegionalFormats &formats);

} // namespace korvel
