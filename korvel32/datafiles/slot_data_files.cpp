#include "datafiles/slot_data_files.h"

#include "setup/instrument_table.h"

namespace korvel {

SlotDataFiles::SlotDataFiles(const InstrumentTable &table, const RegionalFormats &formats)
        : table_(table), formats_(formats) {}

std::unique_ptr<DataFile> &SlotDataFiles::entry(int slot) { return files_.at(static_cast<std::size_t>(slot)); }

DataFileOpen SlotDataFiles::open(int slot, std::int64_t now) {
    close(slot);
    auto file = std::make_unique<DataFile>(dataFileGroupOf(table_, slot), formats_);
    const DataFileOpen result = file->open(now);
    if (result == DataFileOpen::Opened) entry(slot) = std::move(file);
    return result;
}

DataFile *SlotDataFiles::file(int slot) {
    DataFile *file = entry(slot).get();
    return file != nullptr && file->isOpen() ? file : nullptr;
}

bool SlotDataFiles::close(int slot) {
    std::unique_ptr<DataFile> file = std::move(entry(slot));
    return file == nullptr || file->close();
}

} // namespace korvel
