#include "datafiles/serial_date.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/clock.h"

namespace korvel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsFrom1899To1970 = 2209161600; // 25569 days
constexpr std::int64_t kSecondsPerHour = 3600;

} // namespace

std::string serialDateText(const std::tm &local, unsigned milliseconds, char decimalSymbol) {
    std::tm again = local;
    again.tm_isdst = -1;
    std::int64_t t = calendarSecondsOf(again);
    if (local.tm_hour == 2 && again.tm_hour == 1 && again.tm_isdst == 0) {
        again.tm_hour = 2;
        t += kSecondsPerHour;
    }

    std::int64_t s = t - standardOffsetWest() + kSecondsFrom1899To1970;
    if (again.tm_isdst > 0 && !epochInDaylightTime()) s += kSecondsPerHour;

    const double dayFraction =
        (milliseconds / 1000.0 + static_cast<double>(s % kSecondsPerDay)) / static_cast<double>(kSecondsPerDay) * 1e9;
    char text[48];
    std::snprintf(text, sizeof text, "%lu%c%09lu", static_cast<unsigned long>(s / kSecondsPerDay), decimalSymbol,
                  static_cast<unsigned long>(std::trunc(dayFraction)));
    return text;
}

} // namespace korvel
