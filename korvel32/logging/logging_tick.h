// The logging tick: the main loop's one routine for everything that happens
// while instruments log. Each call serves the next logging instrument in
// turn: reads one batch of its scans, writes them (pairing a Master's scans
// with its slaves'), flushes and rolls over its data file, stops runs whose
// duration has passed and ends draining runs. Once a cycle over the logging
// instruments is complete it gives the display windows their turn.
#pragma once

#include "logging/front_end.h"
#include "logging/master_pairing.h"
#include "logging/tick_rest.h"
#include "logging/write_scan.h"
#include "platform/clock.h"

#include <cstdint>
#include <vector>

namespace korvel {

class InstrumentTable;
class LoggingEngine;
class RemoteCommands;
class SlotDataFiles;
struct DataFileSetup;
struct LoggerOptions;

class LoggingTick {
public:
    LoggingTick(const InstrumentTable &table, const LoggerOptions &options, LoggingEngine &engine, SlotDataFiles &files,
                RemoteCommands &remote, const FrontEnd &frontEnd, Clock &clock);

    // Called on every timer event of the main window and whenever the main
    // loop is idle.
    void operator()();

    // True when the last complete cycle over the logging instruments read no
    // scan, or nothing logs: the main loop may then rest a little before the
    // next tick instead of spinning; while scans come it ticks at full speed.
    bool mayRest() const { return !anyLogging_ || idleCycle_.idle(); }

private:
    // What serving the slot of this tick brought.
    struct Served {
        bool readSucceeded = false;
        int scans = 0;
        bool written = false;      // scans reached the data file
        bool afterDisable = false; // the run was draining before the read
    };

    bool skipsWhileBusy();
    bool displayStep(CalendarTime now);
    int selectSlot();
    bool servable(int slot) const;
    int firstServable(int from, int to) const;
    const DataFileSetup *enabledFile(int owner) const;
    void checkRollover(int slot, std::int64_t now);
    Served serve(int slot, std::int64_t now);
    std::vector<int> slaveSlots() const;
    void flush(int slot, std::int64_t now);
    void stopWhenDurationPassed(int slot, std::int64_t now);
    void endDrainingRuns(int servedSlot, Served served);
    bool drainEnds(int slot, int servedSlot, Served served) const;

    const InstrumentTable &table_;
    const LoggerOptions &options_;
    LoggingEngine &engine_;
    SlotDataFiles &files_;
    RemoteCommands &remote_;
    FrontEnd frontEnd_;
    UserInterface &ui_;
    Clock &clock_;
    ScanWriter writer_;
    MasterPairing pairing_;

    int nextSlot_ = 1;
    bool cycleComplete_ = false;
    bool anyLogging_ = false;
    bool skipNext_ = false;
    IdleCycle idleCycle_;
    std::int64_t lastDisplaySecond_ = 0;
    int lastClockMilliseconds_ = -1; // none yet
};

} // namespace korvel
