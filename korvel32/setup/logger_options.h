// Application-wide options that travel with the setup file.
#pragma once

#include <cstdint>

namespace korvel {

struct WindowRect {
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t right = 0;
    std::int16_t bottom = 0;

    bool operator==(const WindowRect &) const = default;
};

// The number of instruments, also saved among these options, is always the
// instrument table's own count.
struct LoggerOptions {
    bool wiredGroup = true;
    bool simulateData = false;
    bool memoryWrapAround = true; // from korvel32.ini, never from a setup file
    double alarmCheckIntervalM100A = 1.0;
    double alarmCheckIntervalM200A = 0.1;
    bool configurationLockout = false;
    bool statusOnAlarm = true;
    bool statusOnStart = true;
    bool resetTotalizer = true;
    WindowRect mainWindow;
    bool toolbarHidden = false;
    bool statusBarHidden = false;
    std::int16_t splitterHeight = -1; // height of the first pane; -1 when it had none

    bool operator==(const LoggerOptions &) const = default;
};

} // namespace korvel
