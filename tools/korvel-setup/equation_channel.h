// Makes a computed channel an Equation channel as a user does in the
// configuration dialogs: Equation chosen in the Computed Function dialog,
// applied to the channel, and Channels Configuration accepted, each step with
// the dialog's own checks.
#pragma once

#include "setup/computed_channel_rules.h"

#include <optional>
#include <string>

// The setup changes only when every check passes; otherwise the first
// refusal comes back.
std::optional<korvel::ComputedChannelRefusal> setEquationChannel(korvel::InstrumentSetup &setup, unsigned bcn,
                                                                 int channel, const std::string &equation,
                                                                 char decimalSymbol,
                                                                 const korvel::ChannelSetup &offChannel);
