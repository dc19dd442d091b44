// The open .bin and .csv data files of the logging instruments: one per
// Async or Master slot, from the start of its run to its end. A Slave's scans
// go into its Master's file. Tests record the opens and closes.
#pragma once

#include "datafiles/data_file.h"
#include "platform/regional_formats.h"

#include <array>
#include <cstdint>
#include <memory>

namespace korvel {

class InstrumentTable;

class SlotDataFiles {
public:
    // The setups of the table must stay unchanged while their files are open,
    // as they do while their instruments log.
    SlotDataFiles(const InstrumentTable &table, const RegionalFormats &formats);
    virtual ~SlotDataFiles() = default;
    SlotDataFiles(const SlotDataFiles &) = delete;
    SlotDataFiles &operator=(const SlotDataFiles &) = delete;

    // Opens the slot's file for a start by its setup's file mode; a file the
    // slot still had open is closed first.
    virtual DataFileOpen open(int slot, std::int64_t now);

    // The slot's open file, or nullptr.
    DataFile *file(int slot);

    // Closes the slot's file; false only when the system could not store it.
    virtual bool close(int slot);

private:
    std::unique_ptr<DataFile> &entry(int slot);

    const InstrumentTable &table_;
    RegionalFormats formats_;
    std::array<std::unique_ptr<DataFile>, 21> files_; // 0 unused
};

} // namespace korvel
