// Sets TZ for the lifetime of the object, so that local time follows known
// daylight-saving rules whatever the machine's zone.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char *zone) {
        if (const char *current = std::getenv("TZ")) saved_ = current;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
        if (saved_)
            ::setenv("TZ", saved_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone &) = delete;
    ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
    std::optional<std::string> saved_;
};

// A wall-clock time as a clock shows it, daylight saving left to the rules.
inline std::tm wallClockAt(int year, int month, int day, int hour, int minute, int second = 0) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return local;
}

// A wall-clock time in the current zone, normalised (daylight saving decided) by mktime.
inline std::tm localAt(int year, int month, int day, int hour, int minute, int second = 0) {
    std::tm local = wallClockAt(year, month, day, hour, minute, second);
    std::mktime(&local);
    return local;
}
