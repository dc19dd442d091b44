// Where an accepted configuration change reaches the setup: the working copy
// of the configuration dialogs goes back to its instrument, the setup is
// marked modified, the windows that show the instrument are told, and the
// main window refreshes its views.
#pragma once

#include "platform/user_interface.h"
#include "setup/instrument_table.h"
#include "setup/setup_doc.h"
#include "setup/slot_logging.h"

#include <functional>
#include <vector>

namespace korvel {

// What the main window does after a change of these instruments: its views,
// their buttons and the commands follow the setup again.
using ConfigurationRefresh = std::function<void(const std::vector<int> &changedSlots)>;
// The instrument the current readings window shows, 0 for none.
using SelectedInstrument = std::function<int()>;

class ConfigurationChanges {
public:
    ConfigurationChanges(InstrumentTable &table, CSetupDoc &document, UserInterface &ui, SlotLogging logging,
                         SelectedInstrument selected, ConfigurationRefresh refresh);

    // The top-level OK: the accepted working copy replaces the instrument's
    // setup, and Quick Plot hears of it. An instrument that began logging
    // while its dialog was open keeps its setup (message 30); false then.
    bool commit(int slot, const InstrumentSetup &accepted);

    // A change already made on the table (a description, group roles, an
    // Mx+B file, copied channels) of these instruments: the setup is
    // modified and the windows follow.
    void changed(const std::vector<int> &changedSlots);

private:
    InstrumentTable &table_;
    CSetupDoc &document_;
    UserInterface &ui_;
    SlotLogging logging_;
    SelectedInstrument selected_;
    ConfigurationRefresh refresh_;
};

} // namespace korvel
