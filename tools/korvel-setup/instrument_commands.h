// The instrument commands of korvel-setup: the scan settings of the
// Instrument Configuration dialog (with the description of the Instrument
// Description dialog), and the role of the Group Instruments dialog.
#pragma once

#include "command_words.h"
#include "setup_session.h"

// SETUP BCN [OUT.stp] with --triggers, --interval1, --interval2, --rate,
// --drift, --trigger-out, --duration, --units, --debounce, --monitor, --description.
int setInstrument(SetupSession &session, const CommandWords &words);
extern const std::vector<OptionForm> kSetInstrumentOptions;

// SETUP BCN ROLE [OUT.stp] with --wired on|off and --yes, which answers the
// dialog's questions about demoting the current Master with Yes.
int setGroup(SetupSession &session, const CommandWords &words);
extern const std::vector<OptionForm> kSetGroupOptions;
