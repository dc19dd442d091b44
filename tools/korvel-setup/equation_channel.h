// Makes a computed channel an Equation channel from the equation's text, as
// the channel configuration does: the text is compiled to learn its size and
// the channels it refers to, and refused with the compiler's reason.
#pragma once

#include "setup/instrument_setup.h"

#include <string>

// Empty on success, else why the equation was refused.
std::string setEquationChannel(korvel::InstrumentSetup &setup, int channel, const std::string &equation);
