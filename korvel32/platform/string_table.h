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

// The special readings in the windows.
inline constexpr int kOpenThermocouple = 1277; // "Open TC"
inline constexpr int kPositiveOverload = 1278; // "+Overload"
inline constexpr int kNegativeOverload = 1279; // "-Overload"

// The computed channel rules, met in the configuration dialogs and korvel-setup.
inline constexpr int kLowerChannelsOnly = 1314;         // "Computed channels must be calculated from lower ..."
inline constexpr int kChannelMustBeDefined = 1315;      // "Channel %04u must be defined for calculation of ..."
inline constexpr int kSelectGroupAverageChannel = 1316; // "Select at least one group average channel!"
inline constexpr int kEquationBufferExceeded = 1324;    // "Computed channel %04u: Instrument equation buffer ..."
inline constexpr int kEquationCompileErrors = 1600;     // compiler error n reads message 1599 + n, n = 1..8
inline constexpr int kInvalidEquation = 1601;           // and any other error this one

// The toolbox add-on settings.
// "Queue size must range between 148 and 65440 bytes, or be 0!"
inline constexpr int kToolboxQueueSizeRange = 1710;
} // namespace message

} // namespace korvel
