#include "logging/logging_tick.h"

#include "datafiles/slot_data_files.h"
#include "logging/logging_engine.h"
#include "logging/once_per_second.h"
#include "logging/remote_commands.h"
#include "platform/string_table.h"

namespace korvel {
namespace {

// The Master pairing's view of the logging engine.
class EnginePairing final : public PairingInstruments {
public:
    EnginePairing(LoggingEngine &engine, ScanWriter &writer) : engine_(engine), writer_(writer) {}

    bool readScans(int slot) override { return engine_.readScans(slot); }
    ScanBuffer &scanBuffer(int slot) override { return engine_.scanBuffer(slot); }
    LoggingRun &run(int slot) override { return engine_.run(slot); }
    bool writeMerged(int master, const ScanRecord &masterScan, std::span<const ScanRecord *const> slaveScans) override {
        return writer_.writeMerged(master, masterScan, slaveScans);
    }
    void queryInternalError(int slot) override { engine_.askInternalError(slot); }

private:
    LoggingEngine &engine_;
    ScanWriter &writer_;
};

} // namespace

LoggingTick::LoggingTick(const InstrumentTable &table, const LoggerOptions &options, LoggingEngine &engine,
                         SlotDataFiles &files, RemoteCommands &remote, const FrontEnd &frontEnd, Clock &clock)
        : table_(table), options_(options), engine_(engine), files_(files), remote_(remote), frontEnd_(frontEnd),
          ui_(frontEnd.ui), clock_(clock), writer_(table, engine, files, frontEnd) {}

void LoggingTick::operator()() {
    if (skipsWhileBusy()) return;
    remote_.runPending();
    const CalendarTime now = clock_.now();
    if ((cycleComplete_ || !anyLogging_) && !displayStep(now)) return;
    const int slot = selectSlot();
    if (slot == 0) return;

    BusyMark mark(engine_);
    checkRollover(slot, now.seconds);
    const bool lastOfCycle = cycleComplete_;
    const bool draining = engine_.run(slot).draining;
    Served served = serve(slot, now.seconds);
    served.afterDisable = draining;
    idleCycle_.count(served.scans, lastOfCycle);
    if (served.written) flush(slot, now.seconds);
    stopWhenDurationPassed(slot, now.seconds);
    if (!options_.simulateData) endDrainingRuns(slot, served);
}

// A start, a stop or a tick waiting on an instrument lets the library
// dispatch further timer events; the tick after such a one rests too.
bool LoggingTick::skipsWhileBusy() {
    if (engine_.busy()) {
        skipNext_ = true;
        return true;
    }
    if (!skipNext_) return false;
    skipNext_ = false;
    return true;
}

// False when the cycle over the logging instruments should rather wait for
// the next change of the millisecond clock.
bool LoggingTick::displayStep(CalendarTime now) {
    frontEnd_.windows.updateLiveWindows(now);
    if (now.seconds != lastDisplaySecond_) {
        lastDisplaySecond_ = now.seconds;
        updateOncePerSecond(table_, engine_, options_, frontEnd_);
    }
    if (static_cast<int>(now.milliseconds) == lastClockMilliseconds_) return false;
    lastClockMilliseconds_ = static_cast<int>(now.milliseconds);
    cycleComplete_ = false;
    return true;
}

bool LoggingTick::servable(int slot) const { return table_.slot(slot).inUse && engine_.run(slot).logging; }

int LoggingTick::firstServable(int from, int to) const {
    for (int slot = from; slot <= to; ++slot) {
        if (servable(slot)) return slot;
    }
    return 0;
}

int LoggingTick::selectSlot() {
    const int slot = servable(nextSlot_) ? nextSlot_ : firstServable(1, kInstrumentSlots);
    anyLogging_ = slot != 0;
    if (slot == 0) return 0;
    nextSlot_ = firstServable(slot + 1, kInstrumentSlots);
    if (nextSlot_ == 0) {
        cycleComplete_ = true;
        nextSlot_ = firstServable(1, slot);
    }
    return slot;
}

const DataFileSetup *LoggingTick::enabledFile(int owner) const {
    if (owner == 0 || !table_.slot(owner).inUse) return nullptr;
    const DataFileSetup &file = table_.slot(owner).setup->dataFile;
    return file.enabled ? &file : nullptr;
}

void LoggingTick::checkRollover(int slot, std::int64_t now) {
    const int owner = dataFileOwner(table_, slot);
    if (enabledFile(owner) == nullptr) return;
    DataOutput *file = files_.file(owner);
    const std::optional<std::string> warning = file != nullptr ? file->checkRollover(now) : std::nullopt;
    if (!warning) return;
    if (frontEnd_.toolbox.remoteMode())
        frontEnd_.toolbox.reportError(owner, toolbox_error::kTrendLinkLowDisk);
    else
        ui_.showWarning(WarningKind::DataFile, *warning, {});
}

LoggingTick::Served LoggingTick::serve(int slot, std::int64_t now) {
    const GroupRole role = table_.slot(slot).role;
    const DataFileSetup *file = enabledFile(dataFileOwner(table_, slot));
    const bool paired = role != GroupRole::Async && file != nullptr && file->format != FileFormat::TrendLink;
    if (!paired) {
        Served served;
        served.readSucceeded = engine_.readScans(slot);
        served.scans = served.readSucceeded ? engine_.scanBuffer(slot).header().count : 0;
        served.written = served.scans > 0 && file != nullptr && writer_.writeBatch(slot);
        return served;
    }
    if (role == GroupRole::Slave) return {}; // read by its Master's pairing
    EnginePairing instruments(engine_, writer_);
    const PairingOutcome outcome = pairing_.serve(instruments, slot, slaveSlots(), now);
    return {outcome.readSucceeded, outcome.newScans, outcome.written};
}

std::vector<int> LoggingTick::slaveSlots() const {
    std::vector<int> slaves;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table_.slot(slot).inUse && table_.slot(slot).role == GroupRole::Slave) slaves.push_back(slot);
    }
    return slaves;
}

// A data file is committed to disk at most once a second.
void LoggingTick::flush(int slot, std::int64_t now) {
    if (table_.slot(slot).role == GroupRole::Slave) return;
    if (DataOutput *file = files_.file(slot)) file->flushIfDue(now);
}

void LoggingTick::stopWhenDurationPassed(int slot, std::int64_t now) {
    const LoggingRun &run = engine_.run(slot);
    if (now < run.stopTime || run.draining) return;
    if (table_.slot(slot).role == GroupRole::Master)
        engine_.stopGroup();
    else
        engine_.stopLogging(slotBit(slot));
}

void LoggingTick::endDrainingRuns(int servedSlot, Served served) {
    bool ended = false;
    bool draining = false;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (!table_.slot(slot).inUse || !engine_.run(slot).draining) continue;
        if (!drainEnds(slot, servedSlot, served)) {
            draining = true;
            continue;
        }
        engine_.endRun(slot);
        ended = true;
        if (table_.slot(slot).role == GroupRole::Master) {
            // Its slaves end in the same tick, those before it too.
            slot = 0;
            draining = false;
        }
    }
    if (draining && !ui_.abortRequested() && !ui_.progressShown() && !frontEnd_.toolbox.remoteMode())
        ui_.showProgress(resourceString(message::kReadingRemainingScans));
    if (ended && !draining) ui_.hideProgress();
}

bool LoggingTick::drainEnds(int slot, int servedSlot, Served served) const {
    if (table_.slot(slot).role == GroupRole::Slave) {
        const int master = table_.masterSlot();
        return master == 0 || !engine_.run(master).logging;
    }
    if (ui_.abortRequested()) return true;
    // An instrument that cannot be reached, or has nothing left, is done. A
    // read from before the scan disable proves neither: the instrument may
    // have made a scan between that read and the disable.
    return slot == servedSlot && served.afterDisable &&
           (engine_.run(slot).communicationErrorShown || (served.readSucceeded && served.scans == 0));
}

} // namespace korvel
