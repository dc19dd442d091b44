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

// A message that names something (a file): its "%s" receives the text.
std::string messageNaming(int id, const std::string &text);

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
inline constexpr int kFilenameInUse = 44;         // "Instrument %02u already has this filename!"
inline constexpr int kUnableToWriteDataFile = 46; // "Unable to Write to Data File!"
inline constexpr int kCannotOpenMxbFile = 47;
inline constexpr int kInvalidMxbFile = 48;
inline constexpr int kIncompatibleSetupVersion = 49;
inline constexpr int kUnableToStopScanning = 55;
inline constexpr int kPrimaryIntervalRange = 75;    // "Primary Interval must range from 0 to 24 hours ..."
inline constexpr int kTriggerIntervalRange = 76;    // "Trigger Interval must range from 0 to 24 hours ..."
inline constexpr int kMonitorChannelUndefined = 77; // "Must Select Function for Monitor Channel!"
inline constexpr int kNoTriggerType = 78;           // "Select at least one trigger type!"
inline constexpr int kDurationZero = 79;            // "Duration Interval must be greater than zero!"
inline constexpr int kRtdR0Range = 156;             // "RTD R0 value must range from 10 to 1010 Ohms!"
inline constexpr int kRtdAlphaRange = 157;          // "RTD Alpha value must range from %g to %g!"
inline constexpr int kShuntRange = 158;             // "Shunt Resistance value must range from 10 to 250 Ohms!"
inline constexpr int kSerialPortUnavailable = 180;  // "Unable to open RS232 port!"
inline constexpr int kCalibrationModeOff = 181;
inline constexpr int kInstrumentSilent = 182; // "Unable to communicate with instrument!"
inline constexpr int kBadCalibrationInput = 183;
inline constexpr int kActualValueRefused = 184;
inline constexpr int kInvalidAlarmValue = 220;    // "Invalid Alarm Value!"
inline constexpr int kInvalidOffset = 288;        // "Invalid Offset (B) Value!"
inline constexpr int kInvalidFactor = 289;        // "Invalid Factor (M) Value!"
inline constexpr int kInvalidInputMinimum = 290;  // "Invalid Minimum Value for Input Range!"
inline constexpr int kInvalidInputMaximum = 291;  // "Invalid Maximum Value for Input Range!"
inline constexpr int kInputRangeTooNarrow = 292;  // "Minimum and Maximum values for Input Range must be ..."
inline constexpr int kInvalidScaledMinimum = 293; // "Invalid Minimum Value for Scaled Range!"
inline constexpr int kInvalidScaledMaximum = 294; // "Invalid Maximum Value for Scaled Range!"
inline constexpr int kNoValidMxb = 295;           // "Entered values do not generate valid Mx+B values!"
inline constexpr int kConvertingFile = 320;       // "Converting File:  %d%%"
inline constexpr int kConversionComplete = 321;   // "Conversion is complete!"
inline constexpr int kCannotOpenFile = 322;       // "Cannot open file %s!"
inline constexpr int kCannotCreateFile = 323;     // "Cannot create file %s!"
inline constexpr int kInvalidAsciiFile = 324;     // "%s is not a valid ASCII file!"
inline constexpr int kInvalidBinaryFile = 325;    // "%s is not a valid Binary file!"
inline constexpr int kReadingRemainingScans = 550;
inline constexpr int kModelMismatch = 641;
inline constexpr int kBcnMismatch = 646;
inline constexpr int kSlavesBecomeAsync = 690;  // "All Slave instruments will become Async.  Continue?"
inline constexpr int kMasterBecomesSlave = 691; // "Current Master instrument will become a Slave.  Continue?"
inline constexpr int kMasterBecomesAsync = 692; // "Current Master instrument will become Async.  Continue?"
inline constexpr int kCopyToDifferentModel = 693;
inline constexpr int kIconTakesNewBcn = 694;   // "Associated icon will change to the new number.  Continue?"
inline constexpr int kIconTakesNewModel = 695; // "Associated configuration will change to reflect new ..."
inline constexpr int kConfirmDelete = 696;     // "Are you sure you want to Delete?"
inline constexpr int kIconsWillBeLost = 697;   // "All associated configurations will be lost.  Continue?"
inline constexpr int kConfirmDeleteAll = 698;  // "Are you sure you want to Delete All?"
inline constexpr int kNotRespondingToCommand = 714;
inline constexpr int kDioTitle = 1270;                  // "DIO"
inline constexpr int kTotalizerTitle = 1271;            // "TOTAL"
inline constexpr int kNoReading = 1276;                 // "NA"
inline constexpr int kOpenThermocouple = 1277;          // "Open TC"
inline constexpr int kPositiveOverload = 1278;          // "+Overload"
inline constexpr int kNegativeOverload = 1279;          // "-Overload"
inline constexpr int kConnectionSuccessful = 1280;      // "Instrument %02u:  Connection Successful!"
inline constexpr int kConnectedWithOldSoftware = 1290;  // "... Connection Successful, but instrument has older ..."
inline constexpr int kFourWireOnUpperChannels = 1313;   // "4W Measurements not allowed on Channels 11-20!"
inline constexpr int kLowerChannelsOnly = 1314;         // "Computed channels must be calculated from lower ..."
inline constexpr int kChannelMustBeDefined = 1315;      // "Channel %04u must be defined for calculation of ..."
inline constexpr int kSelectGroupAverageChannel = 1316; // "Select at least one group average channel!"
inline constexpr int kCcfUnreadable = 1317;
inline constexpr int kBcnRange = 1318;         // "Base Channel Number must range from 1 to 99!"
inline constexpr int kBcnInUse = 1319;         // "This Base Channel Number is already in use!"
inline constexpr int kAddressByteRange = 1320; // "IP Address segments must range from 0 to 255!"
inline constexpr int kSocketPortRange = 1321;  // "Socket Port Number must range from 1024 to 65535!"
inline constexpr int kInvalidBcns = 1322;
inline constexpr int kInvalidValue = 1323;                // "Invalid Value!"
inline constexpr int kEquationBufferExceeded = 1324;      // "Computed channel %04u: Instrument equation buffer ..."
inline constexpr int kTrendLinkNotLoaded = 1376;          // "Unable to load Trend Link DLL!"
inline constexpr int kTrendLinkFunctionMissing = 1377;    // "Unable to get a Trend Link DLL function address!"
inline constexpr int kTrendLinkRegistryUnwritable = 1378; // "Cannot write to Trend Link infolink.ini! ..."
inline constexpr int kTrendLinkDirectoryFailed = 1379;    // "Cannot create Trend Link Data Set directory: ..."
inline constexpr int kTrendLinkPointerFileFailed = 1380;  // "Cannot create Trend Link Data Set dummy file: ..."
inline constexpr int kTrendLinkStartFailed = 1381;        // "Attempt to start Trend Link failed!"
inline constexpr int kTrendLinkTemplateUnreadable = 1382; // "Unable to read Trend Link default template ..."
inline constexpr int kTrendLinkChartFailed = 1383;        // "Unable to create Trend Link Data Set chart file: ..."
inline constexpr int kTrendLinkTooManyDataSets = 1384;    // "... Cannot add more grouped Trend Link Data Sets! ..."
inline constexpr int kTrendLinkForeignDataSet = 1385;     // "... already contains data for instrument %02u! ..."
inline constexpr int kTrendLinkFunctionFailed = 1386;     // "... Error returned from Trend Link function %s: ..."
inline constexpr int kTrendLinkNowFileExists = 1387;      // "Trend Link Data Set .NOW file already exists! ..."
inline constexpr int kTrendLinkNoRoomForFiles = 1388;     // "There is not enough free disk space on %c: ..."
inline constexpr int kTrendLinkDiskFull = 1389;           // "... Cannot write to Trend Link Data Set! ..."
inline constexpr int kTrendLinkLowDiskAtStart = 1390;     // "WARNING:  Only %lu bytes of free disk ..."
inline constexpr int kTrendLinkTagNotAdded = 1391;        // "Cannot add %s to the Trend Link Data Set! ..."
inline constexpr int kTrendLinkDriveUnreadable = 1392;    // "Cannot access specified drive %c: for ..."
inline constexpr int kTrendLinkPcTimeEarlier = 1393;      // "... PC time earlier than existing Trend Link data! ..."
inline constexpr int kTrendLinkNowFileMissing = 1394;     // "... Trend Link Data Set file not found! ..."
inline constexpr int kTrendLinkLowDisk = 1395;            // "Only %lu bytes of free disk\nspace remain on %c: ..."
inline constexpr int kTrendLinkBatchesCorrupted = 1396;   // "Batch information in data set has been corrupted!"
inline constexpr int kTrendLinkPointerFileText = 1400;    // "The Trend Link files for Data Set(s) for %s ..."
inline constexpr int kRolloverFileSize = 1500;            // "File Size must be between 200 and 100000!"
inline constexpr int kRolloverHourOfDay = 1501;           // "Hour of Day must be between 0 and 23!"
inline constexpr int kRolloverTimeInterval = 1502;        // "Time Interval must be between 1 and 99!"
inline constexpr int kRolloverFreeDiskSpace = 1503;       // "Min. Free Disk Space must be between 0 and 100000!"
inline constexpr int kEquationCompileErrors = 1600;       // compiler error n reads message 1599 + n, n = 1..8
inline constexpr int kInvalidEquation = 1601;             // and any other error this one
inline constexpr int kToolboxQueueSizeRange = 1710;
inline constexpr int kToolboxQueueShortage = 1711;
inline constexpr int kToolboxQueueResizeShortage = 1712;
inline constexpr int kToolboxNotFound = 1715;
inline constexpr int kToolboxCannotLoad = 1716;
inline constexpr int kToolboxIncompatible = 1717;
inline constexpr int kLowerDialogChangesLost = 2101; // "Changes made in lower level dialog boxes will be lost. ..."
inline constexpr int kBatchIntervalRange = 2102;     // "Time Interval must range from 1 minute to 999 hours ..."
inline constexpr int kBatchTimeOfDay = 2103;         // "Time of day must be entered as 0 to 23 hours and ..."
inline constexpr int kTrendLinkUncPath = 2104;       // "Trend Link data file paths must begin with a drive ..."
} // namespace message

} // namespace korvel
