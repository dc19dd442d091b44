#include "platform/clock.h"

#include <chrono>

namespace korvel {
namespace {

constexpr std::int64_t kMillisecondsPerSecond = 1000;

CalendarTime fromMilliseconds(std::int64_t total) {
    const std::int64_t seconds =
        total >= 0 ? total / kMillisecondsPerSecond : -((-total + kMillisecondsPerSecond - 1) / kMillisecondsPerSecond);
    return {seconds, static_cast<unsigned>(total - seconds * kMillisecondsPerSecond)};
}

} // namespace

CalendarTime SystemClock::now() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return fromMilliseconds(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}

CalendarTime ManualClock::now() {
    const CalendarTime reading = current_;
    advance(step_);
    return reading;
}

void ManualClock::advance(std::int64_t milliseconds) {
    current_ = fromMilliseconds(current_.seconds * kMillisecondsPerSecond + current_.milliseconds + milliseconds);
}

std::tm localTimeOf(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    ::localtime_r(&time, &local);
    return local;
}

} // namespace korvel
