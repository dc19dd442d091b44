// The one way the logger reads the time of day, so that rollover, durations
// and the daylight-saving rules can be tested with a fixed or stepped clock.
// Local time follows the TZ rules of the process.
#pragma once

#include <cstdint>
#include <ctime>

namespace korvel {

struct CalendarTime {
    std::int64_t seconds = 0;  // since 1970-01-01 00:00 UTC
    unsigned milliseconds = 0; // 0..999
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarTime now() = 0;
};

class SystemClock : public Clock {
public:
    CalendarTime now() override;
};

// A clock that stands still until set or advanced; with a step it moves on
// by that much after every reading.
class ManualClock : public Clock {
public:
    explicit ManualClock(CalendarTime start = {}) : current_(start) {}

    CalendarTime now() override;
    void set(CalendarTime time) { current_ = time; }
    void advance(std::int64_t milliseconds);
    void setStep(std::int64_t milliseconds) { step_ = milliseconds; }

private:
    CalendarTime current_;
    std::int64_t step_ = 0;
};

// The local broken-down time of a calendar second.
std::tm localTimeOf(std::int64_t seconds);

// The calendar second of a local broken-down time (mktime: tm_isdst < 0 lets
// the rules decide daylight time); local is normalised and its tm_isdst set.
// -1 when the time cannot be represented.
std::int64_t calendarSecondsOf(std::tm &local);

// Local standard time's offset from UTC, in seconds west of Greenwich.
std::int64_t standardOffsetWest();
// Whether the calendar's second 0 fell in daylight time in the local zone.
bool epochInDaylightTime();

} // namespace korvel
