// The open data outputs of the logging instruments: one per Async or Master
// slot, from the start of its run to its end, in the format of its setup. A
// Slave's scans go to its Master's output. Tests record the opens and closes.
#pragma once

#include "datafiles/data_file.h"
#include "datafiles/data_output.h"
#include "platform/clock.h"
#include "platform/regional_formats.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace korvel {

class InstrumentTable;
class TrendLinkInterface;

// What Trend Link output works with; without it a Trend Link data file
// cannot be opened.
struct TrendLinkServices {
    TrendLinkInterface &trendLink;
    Clock &clock;
};

class SlotDataFiles {
public:
    // The setups of the table must stay unchanged while their files are open,
    // as they do while their instruments log.
    SlotDataFiles(const InstrumentTable &table, const RegionalFormats &formats,
                  std::optional<TrendLinkServices> trendLink = std::nullopt);
    virtual ~SlotDataFiles() = default;
    SlotDataFiles(const SlotDataFiles &) = delete;
    SlotDataFiles &operator=(const SlotDataFiles &) = delete;

    // Opens the slot's output for a start by its setup's format and file
    // mode; one the slot still had open is closed first.
    virtual DataFileOpen open(int slot, std::int64_t now);

    // The slot's open output, or nullptr.
    DataOutput *file(int slot);

    // Closes the slot's output; false only when the system could not store it.
    virtual bool close(int slot);

private:
    std::unique_ptr<DataOutput> &entry(int slot);

    const InstrumentTable &table_;
    RegionalFormats formats_;
    std::optional<TrendLinkServices> trendLink_;
    std::array<std::unique_ptr<DataOutput>, 21> files_; // 0 unused
};

} // namespace korvel
