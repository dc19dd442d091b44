// "&Create Instrument Icon..." and "&Delete Instrument Icon": adding
// instruments of the communications configuration to the setup and removing
// the selected one, with the instrument bar kept in step.
#pragma once

#include "platform/user_interface.h"
#include "setup/instrument_table.h"
#include "setup/setup_doc.h"
#include "setup/slot_logging.h"
#include "shell/create_instrument_dialog.h"
#include "shell/instrument_bar.h"

#include <functional>
#include <vector>

namespace korvel {

// Offers the instruments the setup lacks and returns the BCNs chosen, at most
// limit of them; none means Cancel.
using InstrumentChooser = std::function<std::vector<unsigned>(const InstrumentTable &table, InstrumentLink &link,
                                                              UserInterface &ui, int limit, QWidget *parent)>;

class InstrumentIconCommands {
public:
    InstrumentIconCommands(InstrumentTable &table, CSetupDoc &document, InstrumentBar &bar, InstrumentLink &link,
                           UserInterface &ui, SlotLogging logging,
                           InstrumentChooser chooser = chooseInstrumentsInDialog);

    // Each chosen instrument goes to the lowest free slot with the model the
    // communications configuration gives it, and becomes the selected one.
    void createInstruments(QWidget *parent);
    // Asks first; a Master takes its group with it, leaving every instrument
    // Async.
    void deleteSelected(bool lockout);

private:
    bool addInstrument(unsigned bcn);
    bool slavesExist() const;

    InstrumentTable &table_;
    CSetupDoc &document_;
    InstrumentBar &bar_;
    InstrumentLink &link_;
    UserInterface &ui_;
    SlotLogging logging_;
    InstrumentChooser chooser_;
};

} // namespace korvel
