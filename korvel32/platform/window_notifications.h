// The notifications the main window, the logging tick and the dialogs send to
// the child windows. Their numbers are fixed: each window reads them in its
// own sense, so they are named per receiving window.
#pragma once

namespace korvel {

enum class ChildWindow { LoggingStatus, CurrentReadings, QuickPlot };

namespace logging_status {
inline constexpr int kInstrumentAdded = 1035;   // first parameter: slot
inline constexpr int kInstrumentRemoved = 1036; // first parameter: slot
inline constexpr int kLoggingStarted = 1037;    // first parameter: slot
inline constexpr int kScansRetrieved = 1038;    // slot, count
inline constexpr int kScansInInstrument = 1039; // slot, count
inline constexpr int kAlarmChannels = 1040;     // slot, alarm mask
} // namespace logging_status

namespace current_readings {
inline constexpr int kRefill = 1035;         // the selected instrument changed
inline constexpr int kUpdateReadings = 1036; // the selected instrument has a new scan
} // namespace current_readings

namespace quick_plot {
inline constexpr int kKeepAlive = 1036;
inline constexpr int kTakeSample = 1037;
inline constexpr int kSettingsChanged = 1038;
inline constexpr int kConfigurationChanged = 1039; // first parameter: slot
inline constexpr int kInstrumentRemoved = 1040;    // first parameter: BCN
inline constexpr int kBcnChanged = 1041;           // old BCN, new BCN
} // namespace quick_plot

} // namespace korvel
