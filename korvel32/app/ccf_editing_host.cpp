#include "app/ccf_editing_host.h"

#include "logging/instrument_verification.h"

namespace korvel {

MainWindowCcfHost::MainWindowCcfHost(InstrumentIconCommands &icons, InstrumentSelection &selection,
                                     InstrumentLink &link, UserInterface &ui)
        : icons_(icons), selection_(selection), link_(link), ui_(ui) {}

void MainWindowCcfHost::deleteInstrumentIcon(int slot) {
    selection_.selectSlot(slot);
    // The configuration dialog opens only without the lockout.
    icons_.deleteSelected(false);
}

void MainWindowCcfHost::verifyInstrument(unsigned bcn) { korvel::verifyInstrument(link_, bcn, ui_); }

void announceBcnChange(UserInterface &ui, ToolboxLink &toolbox, int slot, unsigned oldBcn, unsigned newBcn) {
    ui.notify(ChildWindow::QuickPlot, quick_plot::kBcnChanged, static_cast<int>(oldBcn), static_cast<long>(newBcn));
    // The status rows stand in BCN order: the slot taken out and put back
    // finds its new row.
    ui.notify(ChildWindow::LoggingStatus, logging_status::kInstrumentRemoved, slot, 0);
    ui.notify(ChildWindow::LoggingStatus, logging_status::kInstrumentAdded, slot, 0);
    ui.notify(ChildWindow::CurrentReadings, current_readings::kRefill, 0, 0);
    toolbox.bcnChanged(oldBcn, newBcn);
}

} // namespace korvel
