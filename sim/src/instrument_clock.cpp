#include "instrument_clock.h"

#include <ctime>

namespace korvelsim {

namespace {

using std::chrono::milliseconds;
using std::chrono::system_clock;

milliseconds sinceEpoch() {
    return std::chrono::duration_cast<milliseconds>(system_clock::now().time_since_epoch());
}

}  // namespace

ClockReading InstrumentClock::now() const {
    const milliseconds instant = sinceEpoch() + offset_;
    const std::time_t seconds = static_cast<std::time_t>(instant.count() / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    ClockReading reading;
    reading.time.hour = static_cast<std::uint8_t>(local.tm_hour);
    reading.time.minute = static_cast<std::uint8_t>(local.tm_min);
    reading.time.second = static_cast<std::uint8_t>(local.tm_sec);
    reading.time.month = static_cast<std::uint8_t>(local.tm_mon + 1);
    reading.time.day = static_cast<std::uint8_t>(local.tm_mday);
    reading.time.year = static_cast<std::uint8_t>(local.tm_year % 100);
    reading.milliseconds = static_cast<int>(instant.count() % 1000);
    return reading;
}

bool InstrumentClock::set(const InstrumentTime& time, int milliseconds) {
    if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 || time.hour > 23 ||
        time.minute > 59 || time.second > 59 || milliseconds < 0 || milliseconds > 999) {
        return false;
    }
    std::tm local{};
    local.tm_year = 100 + time.year;  // the block keeps the year modulo 100: this century
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == -1) {
        return false;
    }
    offset_ = std::chrono::milliseconds(std::int64_t{seconds} * 1000 + milliseconds) - sinceEpoch();
    return true;
}

}  // namespace korvelsim
