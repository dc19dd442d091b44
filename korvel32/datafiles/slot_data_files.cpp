#include "datafiles/slot_data_files.h"

#include "datafiles/trend_link_output.h"
#include "setup/instrument_table.h"

namespace korvel {

SlotDataFiles::SlotDataFiles(const InstrumentTable &table, const RegionalFormats &formats,
                             std::optional<TrendLinkServices> trendLink)
        : table_(table), formats_(formats), trendLink_(trendLink) {}

std::unique_ptr<DataOutput> &SlotDataFiles::entry(int slot) { return files_.at(static_cast<std::size_t>(slot)); }

DataFileOpen SlotDataFiles::open(int slot, std::int64_t now) {
    close(slot);
    DataFileGroup group = dataFileGroupOf(table_, slot);
    if (group.owner.setup->dataFile.format == FileFormat::TrendLink) {
        if (!trendLink_) return DataFileOpen::CannotCreate;
        auto output = std::make_unique<TrendLinkOutput>(std::move(group), trendLink_->trendLink, trendLink_->clock);
        if (!output->open()) return DataFileOpen::Reported;
        entry(slot) = std::move(output);
        return DataFileOpen::Opened;
    }
    auto file = std::make_unique<DataFile>(std::move(group), formats_);
    const DataFileOpen result = file->open(now);
    if (result == DataFileOpen::Opened) entry(slot) = std::move(file);
    return result;
}

DataOutput *SlotDataFiles::file(int slot) {
    DataOutput *file = entry(slot).get();
    return file != nullptr && file->isOpen() ? file : nullptr;
}

bool SlotDataFiles::close(int slot) {
    std::unique_ptr<DataOutput> file = std::move(entry(slot));
    return file == nullptr || file->close();
}

} // namespace korvel
