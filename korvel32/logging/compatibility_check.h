// Whether an instrument's software and this logger can work together, and
// which configuration type the instrument understands.
#pragma once

#include "link/instrument_link.h"
#include "platform/user_interface.h"
#include "setup/instrument_setup.h"

#include <string>

namespace korvel {

struct Compatibility {
    bool compatible = false;
    int configurationLevel = 0; // 2: with equations; 1: older software without them
};

// The compatibility number of the instrument's answer: the decimal number
// that starts at its third character (0 when there is none).
double compatibilityNumber(const std::string &text);

// 0 when the number is within what this logger supports, else the message
// telling which side is outdated.
int compatibilityProblem(double number);

// Asks the instrument (communications open) and shows the reason for a refusal.
Compatibility checkCompatibility(InstrumentLink &link, unsigned bcn, const InstrumentSetup &setup, UserInterface &ui);

} // namespace korvel
