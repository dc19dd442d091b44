// When a data file rolls over: by its size, after a time interval or at an
// hour of the day, looked at no more than once every 5 seconds.
#pragma once

#include "setup/instrument_setup.h"

#include <cstdint>

namespace korvel {

inline constexpr std::int64_t kRolloverCheckPeriod = 5; // seconds

// Lets the checks of a data output through at most once every 5 seconds.
class RolloverCheckGate {
public:
    bool pass(std::int64_t now);

private:
    std::int64_t lastCheck_ = 0;
};

class RolloverSchedule {
public:
    // After a file was opened. In Append mode the schedule starts disarmed,
    // so that a file already over its size, or a start within the rollover
    // hour, rolls over at the first check.
    void start(FileMode mode, std::int64_t now);

    // Whether the file should roll over now; fileSize in bytes. Looks at
    // most once every 5 seconds.
    bool due(const DataFileSetup &setup, std::int64_t now, std::uint64_t fileSize);

    // The same for an output that keeps the 5 seconds itself.
    bool dueNow(const DataFileSetup &setup, std::int64_t now, std::uint64_t fileSize);

    // A rollover made for another reason counts as one made now.
    void rolledOver(std::int64_t now) { start(FileMode::Overwrite, now); }

private:
    // Fires once when the condition becomes true and not again until it
    // has been false.
    bool edge(bool condition);

    RolloverCheckGate gate_;
    std::int64_t lastIntervalRollover_ = 0;
    bool armed_ = false;
};

} // namespace korvel
