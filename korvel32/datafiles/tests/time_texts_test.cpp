#include <gtest/gtest.h>

#include "datafiles/date_time_text.h"
#include "datafiles/serial_date.h"
#include "scoped_time_zone.h"

namespace korvel {
namespace {

TEST(SerialDate, CountsLocalDaysSince1899WithNineDecimals) {
    for (const char *zoneName : {"America/New_York", "Europe/Berlin"}) {
        SCOPED_TRACE(zoneName);
        const ScopedTimeZone zone(zoneName);
        EXPECT_EQ(serialDateText(localAt(1997, 3, 14, 12, 0, 0), 0, '.'), "35503.500000000");
        EXPECT_EQ(serialDateText(localAt(1997, 3, 14, 12, 0, 0), 0, ','), "35503,500000000");
        // Daylight time counts by the wall clock too.
        EXPECT_EQ(serialDateText(localAt(1997, 7, 1, 12, 0, 0), 0, '.'), "35612.500000000");
        EXPECT_EQ(serialDateText(localAt(1997, 3, 14, 0, 0, 0), 500, '.'), "35503.000005787");
        EXPECT_EQ(serialDateText(localAt(1997, 3, 14, 8, 5, 9), 250, '.'), "35503.336912615");
    }
}

TEST(SerialDate, TheHourTheClocksSkipLeavesAGap) {
    const ScopedTimeZone zone("America/New_York");
    const std::string before = serialDateText(localAt(2024, 3, 10, 1, 59, 59), 999, '.');
    const std::string after = serialDateText(localAt(2024, 3, 10, 3, 0, 0), 0, '.');
    EXPECT_EQ(before, "45361.083333321");
    EXPECT_EQ(after, "45361.125000000");
}

TEST(DateTimeText, FollowsTheRegionalOrderYearFormAndSeparators) {
    const std::tm local = localAt(1997, 3, 14, 8, 5, 9);
    RegionalFormats formats;
    EXPECT_EQ(dateTimeText(local, formats, 250u), "\"03/14/97 08:05:09.250\"");
    EXPECT_EQ(dateTimeText(local, formats), "\"03/14/97 08:05:09\"");

    formats.dateOrder = 1;
    formats.fourDigitYear = true;
    formats.dateSeparator = '.';
    formats.timeSeparator = ',';
    formats.decimalSymbol = ',';
    EXPECT_EQ(dateTimeText(local, formats, 7u), "\"14.03.1997 08,05,09,007\"");

    formats.dateOrder = 3;
    formats.dateSeparator = '-';
    EXPECT_EQ(dateTimeText(local, formats), "\"1997-03-14 08,05,09\"");
    formats.fourDigitYear = false;
    EXPECT_EQ(dateTimeText(localAt(2005, 11, 2, 23, 0, 0), formats), "\"05-11-02 23,00,00\"");
    formats.dateOrder = 2;
    formats.fourDigitYear = true;
    EXPECT_EQ(dateTimeText(localAt(2005, 11, 2, 23, 0, 0), formats), "\"11-02-2005 23,00,00\"");
}

} // namespace
} // namespace korvel
