// The main window's side of editing the communications configuration: its
// delete command on an instrument's icon, the instrument check of Verify, and
// the news of an instrument that took another BCN.
#pragma once

#include "app/instrument_icon_commands.h"
#include "logging/toolbox_link.h"
#include "setup/communications_config_rules.h"

namespace korvel {

class MainWindowCcfHost : public CcfEditingHost {
public:
    MainWindowCcfHost(InstrumentIconCommands &icons, InstrumentSelection &selection, InstrumentLink &link,
                      UserInterface &ui);

    // Selects the instrument and runs Delete Instrument Icon on it.
    void deleteInstrumentIcon(int slot) override;
    void verifyInstrument(unsigned bcn) override;

private:
    InstrumentIconCommands &icons_;
    InstrumentSelection &selection_;
    InstrumentLink &link_;
    UserInterface &ui_;
};

// Tells Quick Plot (old and new BCN), the logging status and readings
// windows, which show the slot under its BCN, and the toolbox.
void announceBcnChange(UserInterface &ui, ToolboxLink &toolbox, int slot, unsigned oldBcn, unsigned newBcn);

} // namespace korvel
