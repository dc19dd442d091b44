// The identifiers of the main window's commands: those of the menu resource,
// which also number the commands' prompts in the string table.
#pragma once

namespace korvel::command {

inline constexpr int kCreateInstrument = 32850;
inline constexpr int kInstrumentDescription = 32855;
inline constexpr int kDeleteInstrument = 32860;
inline constexpr int kGroupInstruments = 32864;
inline constexpr int kCommunicationsConfig = 32868;
inline constexpr int kCopyChannels = 32870;
inline constexpr int kInstrumentConfiguration = 32880;
inline constexpr int kSaveConfigurationText = 32890;
inline constexpr int kOpenSetup = 32950;
inline constexpr int kSaveSetup = 33000;
inline constexpr int kSaveSetupAs = 33050;
inline constexpr int kLoadMxbFile = 33051;
inline constexpr int kExit = 33060;
inline constexpr int kToolbar = 33064;
inline constexpr int kStatusBar = 33066;
inline constexpr int kStartAll = 33070;
inline constexpr int kStopAll = 33080;
inline constexpr int kStartInstrument = 33090;
inline constexpr int kStopInstrument = 33100;
inline constexpr int kClearTotalizer = 33110;
inline constexpr int kSimulate = 33135;
inline constexpr int kShowQuickPlot = 33136;
inline constexpr int kQuickPlotSetup = 33140;
inline constexpr int kTrendLinkDirectory = 33156;
inline constexpr int kShowTrendLink = 33160;
inline constexpr int kBinaryToAscii = 33170;
inline constexpr int kAsciiTimestamp = 33180;
inline constexpr int kBinaryToTrendLink = 33190;
inline constexpr int kSpy = 33200;
inline constexpr int kCalibration = 33210;
inline constexpr int kShowReadings = 33215;
inline constexpr int kShowLoggingStatus = 33220;
inline constexpr int kStatusOnStart = 33230;
inline constexpr int kStatusOnAlarm = 33240;
inline constexpr int kLockout = 33250;
inline constexpr int kToolbox = 33260;
inline constexpr int kHelpContents = 33270;
inline constexpr int kHelpSearch = 33280;
inline constexpr int kAbout = 33300;

// The four entries of the recent-file list.
inline constexpr int kFirstRecentFile = 57616;
inline constexpr int kRecentFiles = 4;

} // namespace korvel::command
