#include "instrument_clock.h"

#include <ctime>

namespace korvelsim {

namespace {

using std::chrono::milliseconds;

std::optional<milliseconds> localToEpoch(const InstrumentTime &time, int ms) {
    if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 || time.hour > 23 || time.minute > 59 ||
        time.second > 59 || ms < 0 || ms > 999) {
        return std::nullopt;
    }
    std::tm local{};
    local.tm_year = 100 + time.year; // the block keeps the year modulo 100: this century
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == -1) {
        return std::nullopt;
    }
    return milliseconds(std::int64_t{seconds} * 1000 + ms);
}

} // namespace

ClockReading InstrumentClock::readingAt(SteadyClock::time_point instant) const {
    const milliseconds shown = base_ + std::chrono::floor<milliseconds>(instant - anchor_);
    const std::time_t seconds = static_cast<std::time_t>(shown.count() / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    ClockReading reading;
    reading.time.hour = static_cast<std::uint8_t>(local.tm_hour);
    reading.time.minute = static_cast<std::uint8_t>(local.tm_min);
    reading.time.second = static_cast<std::uint8_t>(local.tm_sec);
    reading.time.month = static_cast<std::uint8_t>(local.tm_mon + 1);
    reading.time.day = static_cast<std::uint8_t>(local.tm_mday);
    reading.time.year = static_cast<std::uint8_t>(local.tm_year % 100);
    reading.milliseconds = static_cast<int>(shown.count() % 1000);
    return reading;
}

std::optional<SteadyClock::time_point> InstrumentClock::instantOf(const InstrumentTime &time, int ms) const {
    const auto wanted = localToEpoch(time, ms);
    if (!wanted) {
        return std::nullopt;
    }
    return anchor_ + (*wanted - base_);
}

bool InstrumentClock::set(const InstrumentTime &time, int ms, SteadyClock::time_point at) {
    const auto wanted = localToEpoch(time, ms);
    if (!wanted) {
        return false;
    }
    anchor_ = at;
    base_ = *wanted;
    return true;
}

} // namespace korvelsim
