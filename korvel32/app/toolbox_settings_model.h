// The rules of the "Dereruded'i Ruzozov" settings dialog: one row per
// instrument with its toolbox scan queue, the size of one scan of the chosen
// instrument, and Apply Size, which checks the size typed and asks the
// add-on for each selected instrument's new queue.
#pragma once

#include "setup/instrument_table.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvel {

class ToolboxSettingsModel {
public:
    // Characters the size field takes.
    static constexpr std::size_t kSizeDigits = 8;

    // The add-on's answer to a new size: false when it cannot have the queue
    // and keeps the old one.
    using QueueChange = std::function<bool(unsigned bcn, std::uint32_t bytes)>;

    struct Applied {
        int message = 0;      // shown after Apply Size: 0 none, or the message id
        bool changed = false; // some instrument took the size: the setup is modified
    };

    ToolboxSettingsModel(InstrumentTable &table, QueueChange change) : table_(table), change_(std::move(change)) {}

    // The slots of the rows, in BCN order.
    std::vector<int> rows() const;
    // "BCN<tab>queue size<tab>(n scans)".
    std::string rowText(int slot) const;
    // The chosen instrument's record size, and its queue size as the field shows it.
    std::string scanSizeText(int slot) const;
    std::string sizeText(int slot) const;

    // Apply Size with the text of the size field to the selected slots. A
    // size out of range changes nothing; a queue the add-on cannot have keeps
    // the old size, and the message tells of it after all were tried.
    Applied applySize(const std::string &typed, const std::vector<int> &selected);

private:
    InstrumentTable &table_;
    QueueChange change_;
};

} // namespace korvel
