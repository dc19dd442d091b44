// When a data file rolls over: by its size, after a time interval or at an
// hour of the day, looked at no more than once every 5 seconds.
#pragma once

#include "setup/instrument_setup.h"

#include <cstdint>

namespace korvel {

class RolloverSchedule {
public:
    static constexpr std::int64_t kCheckPeriod = 5; // seconds

    // After a file was opened. In Append mode the schedule starts disarmed,
    // so that a file already over its size, or a start within the rollover
    // hour, rolls over at the first check.
    void start(FileMode mode, std::int64_t now);

    // Whether the file should roll over now; fileSize in bytes.
    bool due(const DataFileSetup &setup, std::int64_t now, std::uint64_t fileSize);

private:
    // Fires once when the condition becomes true and not again until it
    // has been false.
    bool edge(bool condition);

    std::int64_t lastCheck_ = 0;
    std::int64_t lastIntervalRollover_ = 0;
    bool armed_ = false;
};

} // namespace korvel
