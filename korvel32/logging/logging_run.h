// The state of one instrument's logging run and its scan buffer, kept by the
// acquisition layer beside the instrument table, one of each per slot.
#pragma once

#include "datafiles/scan_time.h"
#include "kvlink32.h"
#include "setup/instrument_setup.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace korvel {

// The stop time of a run that has no duration.
constexpr std::int64_t kNoStopTime = 2147483647;

struct LoggingRun {
    std::uint32_t alarmWordShown = 0;       // alarm bits last sent to the logging status window
    std::uint32_t alarmWordAccumulated = 0; // OR of the alarm words read since the last status update
    bool logging = false;                   // from a successful start until the run ends
    bool draining = false;                  // scanning disabled at stop, remaining scans still being read
    std::int64_t lastFlush = 0;             // calendar second of the last data-file flush
    std::int32_t scansInInstrument = 0;     // as reported by the last read
    std::int32_t totalScans = 0;            // read in this run
    std::int64_t stopTime = kNoStopTime;    // calendar second at which the run stops by itself
    bool hasData = false;                   // a scan was read in this run
    bool newData = false;                   // a scan was read since the last once-per-second update
    bool communicationErrorShown = false;
    bool writeErrorShown = false;
    bool overflowShown = false;
    bool statusWarningShown = false;
    DaylightStates daylight; // carried between scans by the scan-time conversion
};

// Where kvxScansGet puts an instrument's scans, with the pairing state of a
// Master group and the newest scan for the display windows.
class ScanBuffer {
public:
    static constexpr std::size_t kRecordArea = 2960;
    static constexpr int kMostScansPerRead = KVX_MAX_SCANS;
    static constexpr int kMasterBatch = 20;
    static constexpr std::int16_t kHeldScan = -1;        // pairing index: the held scan is next
    static constexpr std::int16_t kHeldMasterWaits = -2; // pairing index: a held master scan waits

    std::int16_t batchSize = 0;
    std::int16_t pairingIndex = kHeldMasterWaits;
    ScanRecord heldScan{};
    ScanRecord latestScan{};

    // The block handed to kvxScansGet: header, then the records.
    void *block() { return block_.data(); }

    ScanBufferHeader header() const {
        ScanBufferHeader header;
        std::memcpy(&header, block_.data(), sizeof header);
        return header;
    }
    void setHeader(const ScanBufferHeader &header) { std::memcpy(block_.data(), &header, sizeof header); }

    // Record index of the last read; only the readings of its channels are filled.
    ScanRecord record(int index) const {
        ScanRecord scan{};
        std::memcpy(&scan, block_.data() + recordOffset(index), recordBytes());
        return scan;
    }
    void setRecord(int index, const ScanRecord &scan) {
        std::memcpy(block_.data() + recordOffset(index), &scan, recordBytes());
    }

private:
    std::size_t recordBytes() const {
        return std::min(static_cast<std::size_t>(header().recordSize), sizeof(ScanRecord));
    }
    std::size_t recordOffset(int index) const {
        return sizeof(ScanBufferHeader) + recordBytes() * static_cast<std::size_t>(index);
    }

    alignas(4) std::array<std::uint8_t, sizeof(ScanBufferHeader) + kRecordArea> block_{};
};

// Bytes of one ScanRecord of this instrument: the header and one reading per
// channel that is not OFF.
std::uint32_t scanRecordSize(const InstrumentSetup &setup);

// Most scans one read fetches. A Master that pairs its slaves' scans into its
// data file reads few at a time, so that the pairing stays close to the clock.
std::int16_t scanBatchSize(std::uint32_t recordSize, bool pairsSlaveScans);

// Clears the run and its buffer for a new start.
void prepareRun(LoggingRun &run, ScanBuffer &buffer, const InstrumentSetup &setup, bool pairsSlaveScans);

} // namespace korvel
