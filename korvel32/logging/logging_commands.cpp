#include "logging/logging_commands.h"

#include "datafiles/slot_data_files.h"

#include <bit>

namespace korvel {
namespace {

constexpr int kAsyncTogetherDelay = 3;
constexpr int kWiredSlavesDelay = 0;
constexpr int kWiredMasterDelay = 1;
constexpr int kGroupDelay = 3;
// From this many slaves on, the instruments need more time to reach the common start.
constexpr int kLargeGroupSlaves = 6;

} // namespace

bool anyLogging(const InstrumentTable &table, const LoggingRuns &runs) {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table.slot(slot).inUse && runs.logging(slot)) return true;
    }
    return false;
}

LoggingCommands::LoggingCommands(const InstrumentTable &table, const LoggerOptions &options, InstrumentLink &link,
                                 LoggingRuns &runs, SlotDataFiles &files, const FrontEnd &frontEnd, Clock &clock)
        : table_(table), options_(options), link_(link), runs_(runs), files_(files), frontEnd_(frontEnd),
          clock_(clock) {}

CommandResult LoggingCommands::startInstrument(int slot) {
    if (slot == 0 || !table_.slot(slot).inUse) return {ToolboxReply::NoSuchInstrument, 0};
    const InstrumentSlot &entry = table_.slot(slot);
    // A Slave starts only with its Master.
    if (entry.role == GroupRole::Slave) return {ToolboxReply::Slave, 0};
    if (runs_.logging(slot)) return {ToolboxReply::InstrumentLogging, 0};

    CommandResult result;
    std::vector<int> opened;
    if (!openDataFiles({slot}, opened, result)) return result;
    const bool started = entry.role == GroupRole::Master ? startGroup() : runs_.start(slotBit(slot), 0);
    finishStart(started, opened);
    return result;
}

CommandResult LoggingCommands::startAll() {
    if (table_.count() == 0) return {ToolboxReply::NoSuchInstrument, 0};
    std::vector<int> candidates;
    std::uint32_t asyncMask = 0;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        const InstrumentSlot &entry = table_.slot(slot);
        if (!entry.inUse || entry.role == GroupRole::Slave || runs_.logging(slot)) continue;
        candidates.push_back(slot);
        if (entry.role == GroupRole::Async) asyncMask |= slotBit(slot);
    }
    if (candidates.empty()) return {ToolboxReply::InstrumentLogging, 0};

    CommandResult result;
    std::vector<int> opened;
    if (!openDataFiles(candidates, opened, result)) return result;
    bool started = asyncMask == 0 || runs_.start(asyncMask, kAsyncTogetherDelay);
    const int master = table_.masterSlot();
    if (started && master != 0 && !runs_.logging(master)) started = startGroup();
    finishStart(started, opened);
    return result;
}

CommandResult LoggingCommands::stopInstrument(int slot, CommandSource source) {
    if (slot == 0 || !table_.slot(slot).inUse) return {ToolboxReply::NoSuchInstrument, 0};
    const InstrumentSlot &entry = table_.slot(slot);
    if (entry.role == GroupRole::Slave) return {ToolboxReply::Slave, 0};
    if (!logsAndIsNotStopping(slot)) return {ToolboxReply::NotLogging, 0};
    return {entry.role == GroupRole::Master ? runs_.stopGroup(source) : runs_.stop(slotBit(slot), source), 0};
}

CommandResult LoggingCommands::stopAll(CommandSource source) {
    if (table_.count() == 0) return {ToolboxReply::NoSuchInstrument, 0};
    // The menu acts while anything logs; the toolbox is told when nothing is left to stop.
    if (source == CommandSource::Remote ? slotsToStop() == 0 : !anyLogging(table_, runs_))
        return {ToolboxReply::NotLogging, 0};

    ToolboxReply reply = ToolboxReply::Done;
    const int master = table_.masterSlot();
    if (master != 0 && logsAndIsNotStopping(master)) reply = runs_.stopGroup(source);
    // The group's stop has made its instruments stopping.
    const std::uint32_t mask = slotsToStop();
    if (mask != 0) {
        const ToolboxReply rest = runs_.stop(mask, source);
        if (reply == ToolboxReply::Done) reply = rest;
    }
    // The library takes the PC's time afresh for the next starts.
    link_.pcTimeChange();
    return {reply, 0};
}

// The Master with every Slave. An externally wired group starts its slaves
// first and scanning, waiting for the Master's trigger; the Master follows a
// second later. Otherwise all start together at one common time.
bool LoggingCommands::startGroup() {
    const std::uint32_t master = slotBit(table_.masterSlot());
    const std::uint32_t slaves = slaveSlotMask(table_);
    if (!options_.wiredGroup) {
        const int delay = std::popcount(slaves) < kLargeGroupSlaves ? kGroupDelay : kLargeGroupDelay;
        return runs_.start(master | slaves, delay);
    }
    if (!runs_.start(slaves, kWiredSlavesDelay)) return false;
    if (runs_.start(master, kWiredMasterDelay)) return true;
    // No Slave may scan without its Master.
    runs_.stop(slaves, CommandSource::User);
    return false;
}

bool LoggingCommands::openDataFiles(const std::vector<int> &slots, std::vector<int> &opened, CommandResult &result) {
    for (const int slot : slots) {
        const InstrumentSlot &entry = table_.slot(slot);
        if (!entry.setup->dataFile.enabled) continue;
        if (!openDataFile(slot)) {
            result.failedBcn = static_cast<std::uint16_t>(entry.bcn);
            for (const int done : opened) files_.close(done);
            return false;
        }
        opened.push_back(slot);
    }
    return true;
}

// Files of instruments that did start stay open even when a later part of
// the command failed: they are being written.
void LoggingCommands::finishStart(bool started, const std::vector<int> &opened) {
    for (const int slot : opened) {
        if (!runs_.logging(slot)) files_.close(slot);
    }
    if (started && options_.statusOnStart) frontEnd_.windows.showLoggingStatus();
}

// The file of an Async or Master slot for its start; the user is told why
// when it cannot be opened.
bool LoggingCommands::openDataFile(int slot) {
    const DataFileOpen result = files_.open(slot, clock_.now().seconds);
    if (result == DataFileOpen::Opened) return true;
    showDataFileOpenFailure(frontEnd_.ui, table_.slot(slot).bcn, result);
    return false;
}

bool LoggingCommands::logsAndIsNotStopping(int slot) const { return runs_.logging(slot) && !runs_.stopping(slot); }

std::uint32_t LoggingCommands::slotsToStop() const {
    std::uint32_t mask = 0;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table_.slot(slot).inUse && logsAndIsNotStopping(slot)) mask |= slotBit(slot);
    }
    return mask;
}

} // namespace korvel
