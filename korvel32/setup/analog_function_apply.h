// A function chosen in the Function Selection dialog applied to the selected
// analog channels, minding the 4-wire pairs: a 4-wire channel n (1..10)
// takes the second pair of leads from n + 10, which is then OFF.
#pragma once

#include "setup/function_selection_rules.h"

#include <span>

namespace korvel {

// Applies the function to each selected channel 1..20 in turn. A channel
// 11..20 whose partner n - 10 measures on four wires is left alone; so is a
// channel 11..20 offered a 4-wire function, and then the result is false
// (the dialog says once that 4-wire measurements need channels 1..10). Each
// channel takes the function, range, R0, alpha, open thermocouple detect,
// shunt and units label; its label, scaling and alarms stay.
bool applyAnalogFunction(InstrumentSetup &setup, const AnalogFunction &chosen, std::span<const int> selectedChannels);

// Whether channel 11..20 carries the second pair of leads of its 4-wire partner.
bool carriesFourWireLeads(const InstrumentSetup &setup, int channel);

} // namespace korvel
