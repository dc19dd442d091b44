#include "app/toolbox_settings_model.h"

#include "logging/logging_run.h"
#include "platform/string_table.h"
#include "setup/toolbox_queue_size.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace korvel {
namespace {

// A size as typed, blanks around it allowed; none for anything but digits.
std::optional<std::uint32_t> typedSize(const std::string &typed) {
    const std::size_t first = typed.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const std::size_t last = typed.find_last_not_of(' ');
    std::uint32_t bytes = 0;
    const char *end = typed.data() + last + 1;
    const auto [stop, error] = std::from_chars(typed.data() + first, end, bytes);
    if (error != std::errc() || stop != end) return std::nullopt;
    return bytes;
}

} // namespace

std::vector<int> ToolboxSettingsModel::rows() const { return table_.slotsInBcnOrder(); }

std::string ToolboxSettingsModel::rowText(int slot) const {
    const InstrumentSlot &entry = table_.slot(slot);
    const std::uint32_t queue = entry.setup->toolboxQueueSize;
    const std::uint32_t scans = queue / scanRecordSize(*entry.setup);
    char count[32];
    if (scans == 1) {
        std::snprintf(count, sizeof count, "(1 scan)");
    } else {
        std::snprintf(count, sizeof count, "(%u scans)", scans);
    }
    char row[64];
    std::snprintf(row, sizeof row, "%02u\t%lu\t%s", static_cast<unsigned>(entry.bcn), static_cast<unsigned long>(queue),
                  count);
    return row;
}

std::string ToolboxSettingsModel::scanSizeText(int slot) const {
    char text[32];
    std::snprintf(text, sizeof text, "1 scan = %u bytes", scanRecordSize(*table_.slot(slot).setup));
    return text;
}

std::string ToolboxSettingsModel::sizeText(int slot) const {
    return std::to_string(table_.slot(slot).setup->toolboxQueueSize);
}

ToolboxSettingsModel::Applied ToolboxSettingsModel::applySize(const std::string &typed,
                                                              const std::vector<int> &selected) {
    const std::optional<std::uint32_t> bytes = typedSize(typed);
    if (!bytes || !acceptableToolboxQueueSize(*bytes)) return {message::kToolboxQueueSizeRange, false};
    Applied applied;
    for (const int slot : selected) {
        InstrumentSlot &entry = table_.slot(slot);
        if (change_(entry.bcn, *bytes)) {
            entry.setup->toolboxQueueSize = *bytes;
            applied.changed = true;
        } else {
            applied.message = message::kToolboxQueueResizeShortage;
        }
    }
    return applied;
}

} // namespace korvel
