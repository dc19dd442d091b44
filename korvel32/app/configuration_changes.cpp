#include "app/configuration_changes.h"

#include "platform/string_table.h"

#include <algorithm>

namespace korvel {

ConfigurationChanges::ConfigurationChanges(InstrumentTable &table, CSetupDoc &document, UserInterface &ui,
                                           SlotLogging logging, SelectedInstrument selected,
                                           ConfigurationRefresh refresh)
        : table_(table), document_(document), ui_(ui), logging_(std::move(logging)), selected_(std::move(selected)),
          refresh_(std::move(refresh)) {}

bool ConfigurationChanges::commit(int slot, const InstrumentSetup &accepted) {
    InstrumentSlot &entry = table_.slot(slot);
    if (!entry.inUse) return false;
    if (logging_(slot)) {
        ui_.showMessage(instrumentMessage(message::kConfigurationWhileLogging, entry.bcn), MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return false;
    }
    *entry.setup = accepted;
    ui_.notify(ChildWindow::QuickPlot, quick_plot::kConfigurationChanged, slot, 0);
    changed({slot});
    return true;
}

void ConfigurationChanges::changed(const std::vector<int> &changedSlots) {
    document_.setModified(true);
    const int selected = selected_();
    if (selected != 0 && std::find(changedSlots.begin(), changedSlots.end(), selected) != changedSlots.end())
        ui_.notify(ChildWindow::CurrentReadings, current_readings::kRefill, 0, 0);
    refresh_(changedSlots);
}

} // namespace korvel
