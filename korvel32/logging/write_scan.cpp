#include "logging/write_scan.h"

#include "datafiles/slot_data_files.h"
#include "logging/logging_engine.h"
#include "platform/string_table.h"

namespace korvel {
ScanWriter::ScanWriter(const InstrumentTable &table, LoggingEngine &engine, SlotDataFiles &files,
                       const FrontEnd &frontEnd)
        : table_(table), engine_(engine), files_(files), frontEnd_(frontEnd) {}

int dataFileOwner(const InstrumentTable &table, int slot) {
    return table.slot(slot).role == GroupRole::Slave ? table.masterSlot() : slot;
}

bool ScanWriter::writeBatch(int slot) {
    DataOutput *file = files_.file(dataFileOwner(table_, slot));
    const unsigned bcn = table_.slot(slot).bcn;
    return report(slot, file != nullptr && file->writeBatch(bcn, engine_.scanBuffer(slot), engine_.run(slot).daylight));
}

bool ScanWriter::writeMerged(int master, const ScanRecord &masterScan, std::span<const ScanRecord *const> slaveScans) {
    DataOutput *file = files_.file(master);
    return report(master, file != nullptr && file->writeMerged(masterScan, slaveScans, engine_.run(master).daylight));
}

bool ScanWriter::report(int slot, bool written) {
    LoggingRun &run = engine_.run(slot);
    if (written) {
        run.writeErrorShown = false;
        return true;
    }
    if (frontEnd_.toolbox.remoteMode()) {
        frontEnd_.toolbox.reportError(slot, toolbox_error::kDataFile);
    } else if (!run.writeErrorShown) {
        const InstrumentSlot &owner = table_.slot(dataFileOwner(table_, slot));
        const bool trendLink = owner.inUse && owner.setup->dataFile.format == FileFormat::TrendLink;
        frontEnd_.ui.showWarning(
            WarningKind::DataFile,
            instrumentMessage(trendLink ? message::kCannotWriteTrendLink : message::kCannotWriteDataFile,
                              table_.slot(slot).bcn),
            {});
    }
    run.writeErrorShown = true;
    return false;
}

} // namespace korvel
