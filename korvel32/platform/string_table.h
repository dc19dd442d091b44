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

// The messages the program shows, by the number of their text.
namespace message {
inline constexpr int kSetupChanged = 5;
inline constexpr int kUnableToInitializeDde = 11;
inline constexpr int kNoChannelsDefined = 14;
inline constexpr int kCannotCreateDataFile = 15;
inline constexpr int kCannotOpenDataFile = 16;
inline constexpr int kDataFileNotCompatible = 17;
inline constexpr int kCommunicationInterruption = 18;
inline constexpr int kInvalidInstrumentTime = 19;
inline constexpr int kLowOnMemory = 21;
inline constexpr int kMaximumInstrumentsReached = 22;
inline constexpr int kInstrumentSoftwareOutdated = 25;
inline constexpr int kLoggerSoftwareOutdated = 26;
inline constexpr int kNoEquationsOrCustomRtd = 27;
inline constexpr int kConfigurationWhileLogging = 30;
inline constexpr int kCommunicationInterruptionCode = 31;
inline constexpr int kScanQueueOverflow = 32;
inline constexpr int kOldestScansOverwritten = 33;
inline constexpr int kNewestScansDiscarded = 34;
inline constexpr int kCannotWriteDataFile = 35;
inline constexpr int kCannotWriteTrendLink = 36;
inline constexpr int kRamConstantsCorrupted = 37;
inline constexpr int kAnalogProcessorSilent = 38;
inline constexpr int kUnableToOpenSetup = 39;
inline constexpr int kUnableToWriteSetup = 40;
inline constexpr int kInvalidSetupFile = 41;
inline constexpr int kCannotCreateReport = 42;
inline constexpr int kCannotWriteReport = 43;
inline constexpr int kCannotOpenMxbFile = 47;
inline constexpr int kInvalidMxbFile = 48;
inline constexpr int kIncompatibleSetupVersion = 49;
inline constexpr int kUnableToStopScanning = 55;
inline constexpr int kSerialPortUnavailable = 180; // "Unable to open RS232 port!"
inline constexpr int kCalibrationModeOff = 181;
inline constexpr int kInstrumentSilent = 182; // "Unable to communicate with instrument!"
inline constexpr int kBadCalibrationInput = 183;
inline constexpr int kActualValueRefused = 184;
inline constexpr int kReadingRemainingScans = 550;
inline constexpr int kModelMismatch = 641;
inline constexpr int kBcnMismatch = 646;
inline constexpr int kSlavesBecomeAsync = 690;
inline constexpr int kCopyToDifferentModel = 693;
inline constexpr int kNotRespondingToCommand = 714;
inline constexpr int kOpenThermocouple = 1277;          // "Open TC"
inline constexpr int kPositiveOverload = 1278;          // "+Overload"
inline constexpr int kNegativeOverload = 1279;          // "-Overload"
inline constexpr int kLowerChannelsOnly = 1314;         // "Computed channels must be calculated from lower ..."
inline constexpr int kChannelMustBeDefined = 1315;      // "Channel %04u must be defined for calculation of ..."
inline constexpr int kSelectGroupAverageChannel = 1316; // "Select at least one group average channel!"
inline constexpr int kCcfUnreadable = 1317;
inline constexpr int kInvalidBcns = 1322;
inline constexpr int kEquationBufferExceeded = 1324; // "Computed channel %04u: Instrument equation buffer ..."
inline constexpr int kEquationCompileErrors = 1600;  // compiler error n reads message 1599 + n, n = 1..8
inline constexpr int kInvalidEquation = 1601;        // and any other error this one
inline constexpr int kToolboxQueueSizeRange = 1710;
inline constexpr int kToolboxQueueShortage = 1711;
} // namespace message

} // namespace korvel
