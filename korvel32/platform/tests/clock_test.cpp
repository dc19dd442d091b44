#include "platform/clock.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(ManualClock, StandsStillUntilMovedAndCarriesMilliseconds) {
    ManualClock clock({1000, 900});
    EXPECT_EQ(clock.now().seconds, 1000);
    clock.advance(250);
    CalendarTime time = clock.now();
    EXPECT_EQ(time.seconds, 1001);
    EXPECT_EQ(time.milliseconds, 150u);
    clock.advance(-1200); // the clock may be set back
    time = clock.now();
    EXPECT_EQ(time.seconds, 999);
    EXPECT_EQ(time.milliseconds, 950u);
}

TEST(ManualClock, StepsAfterEveryReading) {
    ManualClock clock({0, 0});
    clock.setStep(600);
    EXPECT_EQ(clock.now().milliseconds, 0u);
    EXPECT_EQ(clock.now().milliseconds, 600u);
    const CalendarTime third = clock.now();
    EXPECT_EQ(third.seconds, 1);
    EXPECT_EQ(third.milliseconds, 200u);
}

TEST(SystemClock, ReadsTheCalendarTime) {
    SystemClock clock;
    const std::int64_t before = static_cast<std::int64_t>(std::time(nullptr));
    const CalendarTime now = clock.now();
    EXPECT_GE(now.seconds, before);
    EXPECT_LE(now.seconds, before + 2);
    EXPECT_LT(now.milliseconds, 1000u);
}

} // namespace
} // namespace korvel
