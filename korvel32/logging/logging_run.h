// The state of one instrument's logging run and its scan buffer, kept by the
// logging engine beside the instrument table, one of each per slot.
#pragma once

#include "datafiles/scan_batch.h"
#include "datafiles/scan_time.h"
#include "kvlink32.h"
#include "setup/instrument_setup.h"

#include <cstdint>

namespace korvel {

// The stop time of a run that has no duration.
constexpr std::int64_t kNoStopTime = 2147483647;

struct LoggingRun {
    std::uint32_t alarmWordShown = 0;       // alarm bits last sent to the logging status window
    std::uint32_t alarmWordAccumulated = 0; // OR of the alarm words read since the last status update
    bool logging = false;                   // from a successful start until the run ends
    bool draining = false;                  // scanning disabled at stop, remaining scans still being read
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
class ScanBuffer : public ScanBatch {
public:
    static constexpr int kMostScansPerRead = KVX_MAX_SCANS;
    static constexpr int kMasterBatch = 20;
    static constexpr std::int16_t kHeldScan = -1;        // pairing index: the held scan is next
    static constexpr std::int16_t kHeldMasterWaits = -2; // pairing index: a held master scan waits

    std::int16_t batchSize = 0;
    std::int16_t pairingIndex = kHeldMasterWaits;
    ScanRecord heldScan{};
    ScanRecord latestScan{};
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
