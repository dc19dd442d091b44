#include "app/spy_selection.h"

namespace korvel {

SpySelectionModel::SpySelectionModel(const InstrumentTable &table, const SpyChannelList &current)
        : lines_(channelLines(table, SpecialEntries::DioAndTotalizer)) {
    std::vector<std::uint32_t> listed(current.begin(), current.end());
    std::erase(listed, 0U);
    initialSelection_ = rowsOf(lines_, listed);
    if (initialSelection_.empty() && !lines_.empty()) initialSelection_.push_back(0);
}

Checked<SpySelectionControl> SpySelectionModel::accept(const std::vector<std::size_t> &selectedRows) {
    const std::vector<std::uint32_t> identifiers = chosenIdentifiers(lines_, selectedRows);
    if (identifiers.empty()) return Refusal<SpySelectionControl>{0, kSelectSpyChannel, SpySelectionControl::Channels};
    chosen_.fill(0);
    std::copy(identifiers.begin(), identifiers.end(), chosen_.begin());
    return std::nullopt;
}

} // namespace korvel
