#include "logging/logging_engine.h"

#include "datafiles/slot_data_files.h"
#include "logging/configuration_download.h"
#include "platform/string_table.h"

namespace korvel {
LoggingEngine::LoggingEngine(InstrumentTable &table, const LoggerOptions &options, InstrumentLink &link,
                             SlotDataFiles &files, FrontEnd frontEnd, Clock &clock)
        : table_(table), options_(options), link_(link), files_(files), frontEnd_(frontEnd), ui_(frontEnd.ui),
          clock_(clock) {}

std::vector<int> LoggingEngine::slotsOf(std::uint32_t slotMask) const {
    std::vector<int> slots;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if ((slotMask & slotBit(slot)) && table_.slot(slot).inUse) slots.push_back(slot);
    }
    return slots;
}

std::uint32_t slaveSlotMask(const InstrumentTable &table) {
    std::uint32_t mask = 0;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        const InstrumentSlot &entry = table.slot(slot);
        if (entry.inUse && entry.role == GroupRole::Slave) mask |= slotBit(slot);
    }
    return mask;
}

const InstrumentSetup *LoggingEngine::masterSetup() const { return masterSetupOf(table_); }

bool LoggingEngine::pairsSlaveScans(int slot) const {
    const InstrumentSlot &entry = table_.slot(slot);
    const DataFileSetup &file = entry.setup->dataFile;
    return entry.role == GroupRole::Master && file.enabled && file.format != FileFormat::TrendLink;
}

std::int64_t LoggingEngine::stopTimeOf(int slot, std::int64_t startSecond) const {
    const InstrumentSlot &entry = table_.slot(slot);
    if (entry.role == GroupRole::Slave || !entry.setup->stopAfterDuration) return kNoStopTime;
    return startSecond + entry.setup->duration;
}

void LoggingEngine::showMessage(int slot, int message) {
    ui_.showMessage(instrumentMessage(message, table_.slot(slot).bcn), MessageIcon::Exclamation, MessageButtons::Ok);
}

void LoggingEngine::endRun(int slot) {
    link_.commClose(static_cast<std::int32_t>(table_.slot(slot).bcn));
    finishRun(slot);
}

void LoggingEngine::askInternalError(int slot) {
    std::int32_t word = 0;
    link_.iError(static_cast<std::int32_t>(table_.slot(slot).bcn), word);
}

void LoggingEngine::finishRun(int slot) {
    LoggingRun &state = run(slot);
    frontEnd_.windows.resetStatusRow(slot);
    state.draining = false;
    if (!files_.close(slot)) {
        if (frontEnd_.toolbox.remoteMode())
            frontEnd_.toolbox.reportError(slot, toolbox_error::kDataFile);
        else
            ui_.showWarning(WarningKind::DataFile,
                            instrumentMessage(message::kCannotWriteDataFile, table_.slot(slot).bcn), {});
    }
    state.logging = false;
    frontEnd_.toolbox.loggingChanged(slot, false);
    frontEnd_.windows.redrawIcon(slot);
}

} // namespace korvel
