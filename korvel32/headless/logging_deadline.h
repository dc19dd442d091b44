// When --duration has passed. Start All schedules the instruments' start a
// few seconds ahead, so the duration counts from the first scan read; when
// no scan ever comes (a trigger that never fires), from the latest moment
// at which a scheduled start could have begun.
#pragma once

#include <chrono>
#include <optional>

namespace korvel {

class LoggingDeadline {
public:
    using Clock = std::chrono::steady_clock;

    explicit LoggingDeadline(std::optional<double> durationSeconds);

    // Start All has returned.
    void started(Clock::time_point now);
    // Called on every turn of the main loop with whether any scan was read yet.
    bool passed(Clock::time_point now, bool scansRead);

private:
    std::optional<Clock::duration> duration_; // none: no deadline
    Clock::time_point deadline_;
    bool fromFirstScan_ = false;
};

} // namespace korvel
