#include "logging_deadline.h"

#include "logging/logging_commands.h"

namespace korvel {

LoggingDeadline::LoggingDeadline(std::optional<double> durationSeconds) {
    if (durationSeconds) {
        duration_ = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(*durationSeconds));
    }
}

// No scheduled start waits longer than a large group's.
void LoggingDeadline::started(Clock::time_point now) {
    if (duration_) deadline_ = now + std::chrono::seconds(kLargeGroupDelay) + *duration_;
}

bool LoggingDeadline::passed(Clock::time_point now, bool scansRead) {
    if (!duration_) return false;
    if (scansRead && !fromFirstScan_) {
        fromFirstScan_ = true;
        deadline_ = std::min(deadline_, now + *duration_);
    }
    return now >= deadline_;
}

} // namespace korvel
