#include "datafiles/serial_date.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "platform/clock.h"

namespace korvel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsFrom1899To1970 = 2209161600; // 25569 days
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr int kFractionDigits = 9;

} // namespace

std::size_t writeSerialDate(const std::tm &local, unsigned milliseconds, char decimalSymbol, char *out) {
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
    // "%lu%c%09lu" of the days and the billionths of the day.
    char *write = std::to_chars(out, out + kSerialDateCapacity, static_cast<unsigned long>(s / kSecondsPerDay)).ptr;
    *write++ = decimalSymbol;
    auto billionths = static_cast<unsigned long>(std::trunc(dayFraction));
    for (int i = kFractionDigits - 1; i >= 0; --i) {
        write[i] = static_cast<char>('0' + billionths % 10);
        billionths /= 10;
    }
    write += kFractionDigits;
    *write = '\0';
    return static_cast<std::size_t>(write - out);
}

std::string serialDateText(const std::tm &local, unsigned milliseconds, char decimalSymbol) {
    char text[kSerialDateCapacity];
    return std::string(text, writeSerialDate(local, milliseconds, decimalSymbol, text));
}

} // namespace korvel
