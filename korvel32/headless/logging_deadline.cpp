#include "logging_deadline.h"

namespace korvel {

namespace {

// The longest delay Start All gives a scheduled start (a large group).
constexpr auto kLongestStartDelay = std::chrono::seconds(6);

} // namespace

LoggingDeadline::LoggingDeadline(std::optional<double> durationSeconds) {
    if (durationSeconds) {
        duration_ = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(*durationSeconds));
    }
}

void LoggingDeadline::started(Clock::time_point now) {
    if (duration_) deadline_ = now + kLongestStartDelay + *duration_;
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
