// The logger's own settings in korvel32.ini beside the program: read once at
// start, every missing key written at once with its default, and never
// written back at shutdown.
#pragma once

#include "platform/user_interface.h"
#include "setup/logger_options.h"

#include <string>

namespace korvel {

struct ApplicationSettings {
    bool memoryWrapAround = true;
    bool developersToolbox = false;
    double alarmCheckingIntervalM100A = 1.0; // seconds
    double alarmCheckingIntervalM200A = 0.1; // seconds
    bool autoScanDisable = true;
    unsigned commTimeout = 5; // seconds, 3..1000

    // The settings that travel in every instrument configuration block.
    void applyTo(LoggerOptions &options) const;

    bool operator==(const ApplicationSettings &) const = default;
};

inline constexpr const char *kSettingsFileName = "korvel32.ini";
inline constexpr const char *kCannotWriteSettings = "Cannot write to KORVEL.INI file!\nCheck file permissions.";

// Reads the settings of the "Defaults" section and makes sure the "TL Defaults"
// keys exist. A missing (or empty) key is written with its default; a value
// outside its bounds leaves the default in force without a write, and a time-out
// beyond its bounds is clamped while the file keeps it. The default time-out is
// 10 s in network mode 4, else 5 s. If any write fails, the one message
// kCannotWriteSettings is shown after every key has been handled.
ApplicationSettings readApplicationSettings(const std::string &settingsPath, int networkMode, UserInterface &ui);

} // namespace korvel
