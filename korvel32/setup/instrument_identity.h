// The facts about an instrument that its configuration dialogs show and
// decide by: its BCN and model, its place in the group and the group's wiring.
#pragma once

#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <string>

namespace korvel {

struct InstrumentIdentity {
    unsigned bcn = 0;
    ModelCode model = ModelCode::M100A;
    GroupRole role = GroupRole::Async;
    bool setupHasMaster = false;
    bool wiredGroup = true;

    bool slave() const { return role == GroupRole::Slave; }
    // A Master whose Slaves are wired to it triggers them itself.
    bool wiredMaster() const { return role == GroupRole::Master && wiredGroup; }
};

InstrumentIdentity identityOf(const InstrumentTable &table, int slot, const LoggerOptions &options);

// An instrument dialog's caption: the dialog's own, then " - %02u" (BCN), or
// " - %02u (%s)" (BCN and group role) while the setup has a Master.
std::string instrumentCaption(const std::string &caption, const InstrumentIdentity &identity);

} // namespace korvel
