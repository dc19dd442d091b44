#include "logging/instrument_time.h"

#include "platform/clock.h"

namespace korvel {

InstrumentTime instrumentTimeOf(std::int64_t calendarSeconds) {
    const std::tm local = localTimeOf(calendarSeconds);
    InstrumentTime time{};
    time.hour = static_cast<std::uint8_t>(local.tm_hour);
    time.minute = static_cast<std::uint8_t>(local.tm_min);
    time.second = static_cast<std::uint8_t>(local.tm_sec);
    time.month = static_cast<std::uint8_t>(local.tm_mon + 1);
    time.day = static_cast<std::uint8_t>(local.tm_mday);
    time.year = static_cast<std::uint8_t>(local.tm_year % 100);
    return time;
}

} // namespace korvel
