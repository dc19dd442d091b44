// The system's texts, addressed by their resource-string numbers.
#pragma once

#include <string>

namespace korvel {

// The text of a resource string; empty when there is none with that number.
// Every numbered text is looked up here, so a resource library that replaces
// the built-in texts needs to hook in at this one place.
std::string resourceString(int id);

// A message about one instrument: the text begins "Instrument %02u:  " and
// receives the BCN. Further conversions of the text (a code, a second BCN)
// are left in place for the caller to fill.
std::string instrumentMessage(int id, unsigned bcn);

// Messages shown from more than one place.
namespace message {
inline constexpr int kLowOnMemory = 21;
inline constexpr int kSerialPortUnavailable = 180; // "Unable to open RS232 port!"
inline constexpr int kCalibrationModeOff = 181;
inline constexpr int kInstrumentSilent = 182; // "Unable to communicate with instrument!"
inline constexpr int kBadCalibrationInput = 183;
inline constexpr int kActualValueRefused = 184;
inline constexpr int kCcfUnreadable = 1317; // "Unable to open Communications Configuration File!"
} // namespace message

} // namespace korvel
