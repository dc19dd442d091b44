// The instrument configuration block made from an instrument's setup, and its
// download before logging starts.
#pragma once

#include "kvlink32.h"
#include "link/instrument_link.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <array>
#include <cstdint>
#include <optional>

namespace korvel {

// The logger settings that shape every instrument's configuration.
struct DownloadSettings {
    bool wiredGroup = true;       // the Master's trigger out drives the slaves' trigger in
    bool memoryWrapAround = true; // a full scan queue overwrites its oldest scans
    bool autoScanDisable = false; // a full scan queue stops scanning when off
    double alarmCheckIntervalM100A = 1.0;
    double alarmCheckIntervalM200A = 0.1;
};

// The settings of the logger options and korvel32.ini's AutoScanDisable.
DownloadSettings downloadSettingsOf(const LoggerOptions &options, bool autoScanDisable);

// The setup of the group's Master, whose scanning its Slaves follow; nullptr
// without one.
const InstrumentSetup *masterSetupOf(const InstrumentTable &table);

// Hours, minutes, seconds and milliseconds of an interval given in seconds,
// rounded to the millisecond.
std::array<std::int32_t, 4> splitInterval(double seconds);

// The block for the instrument of this slot; the link compiles its equations. A Slave scans as its Master
// says, so masterSetup is needed for one (and ignored otherwise). Empty when
// an equation does not compile or the equations outgrow the byte-code area.
std::optional<InstrumentConfig> instrumentConfigOf(InstrumentLink &link, const InstrumentSlot &slot,
                                                   const InstrumentSetup *masterSetup,
                                                   const DownloadSettings &settings);

// Sends the block as configuration type level (1 without equations, 2 with).
bool downloadConfiguration(InstrumentLink &link, unsigned bcn, int level, const InstrumentConfig &config);

// Makes the block of the table's instrument in the slot and sends it; false
// when it cannot be made or the instrument refuses it.
bool sendConfiguration(InstrumentLink &link, const InstrumentTable &table, int slot, int level,
                       const DownloadSettings &settings);

} // namespace korvel
