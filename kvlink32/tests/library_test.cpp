// The library's frame: start and stop, the time-out setting, the PC time
// base, and what every call answers before the library is started.
#include "kvlink32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

class Library : public ::testing::Test {
protected:
    void TearDown() override { kvxLibExit(); }
};

TEST_F(Library, CallsBeforeStartAreRefused) {
    int32_t value = 0;
    uint32_t word = 0;
    EXPECT_EQ(kvxLibExit(), KVX_E_NOT_INIT);
    EXPECT_EQ(kvxTimeoutGet(&value), KVX_E_NOT_INIT);
    EXPECT_EQ(kvxCommOpen(1), KVX_E_NOT_INIT);
    EXPECT_EQ(kvxCommOpen(0), KVX_E_BAD_BCN) << "the BCN is checked first";
    EXPECT_EQ(kvxInstStatus(1, &word), KVX_E_NOT_INIT);
    EXPECT_EQ(kvxCCFnumEntries(), KVX_E_NOT_INIT);
    EXPECT_EQ(kvxTimeToolbox(&value, &value), KVX_E_NOT_INIT);
}

TEST_F(Library, SecondStartIsRefusedAndKeepsTheFirst) {
    ASSERT_EQ(kvxLibInit(0), KVX_OK);
    ASSERT_EQ(kvxTimeoutSet(3), KVX_OK);
    EXPECT_EQ(kvxLibInit(1), KVX_E_ALREADY_INIT);
    int32_t seconds = 0;
    ASSERT_EQ(kvxTimeoutGet(&seconds), KVX_OK);
    EXPECT_EQ(seconds, 3);
    EXPECT_EQ(kvxLibExit(), KVX_OK);
    EXPECT_EQ(kvxLibInit(0), KVX_OK) << "the library starts again after an exit";
}

TEST_F(Library, TimeOutOfZeroIsRefusedAndTheOldOneKept) {
    ASSERT_EQ(kvxLibInit(0), KVX_OK);
    ASSERT_EQ(kvxTimeoutSet(7), KVX_OK);
    EXPECT_EQ(kvxTimeoutSet(0), KVX_E_BAD_TIMEOUT);
    int32_t seconds = 0;
    ASSERT_EQ(kvxTimeoutGet(&seconds), KVX_OK);
    EXPECT_EQ(seconds, 7);
}

TEST_F(Library, TimeBaseFollowsTheCalendarClock) {
    ASSERT_EQ(kvxLibInit(0), KVX_OK);
    for (int round = 0; round < 2; ++round) {
        int32_t seconds = 0, milliseconds = -1;
        const time_t before = time(nullptr);
        ASSERT_EQ(kvxTimeToolbox(&seconds, &milliseconds), KVX_OK);
        const time_t after = time(nullptr);
        EXPECT_GE(seconds, before - 1);
        EXPECT_LE(seconds, after + 1);
        EXPECT_GE(milliseconds, 0);
        EXPECT_LE(milliseconds, 999);
        kvxPCTimeChange(); // the next read re-synchronises
    }
}

TEST(LibraryNames, ErrorNamesAndTexts) {
    EXPECT_STREQ(kvxErrorName(KVX_E_TIMEOUT), "KVX_E_TIMEOUT");
    EXPECT_STREQ(kvxErrorName(12345), "unknown");
    EXPECT_STRNE(kvxErrorText(KVX_E_REFUSED), "unknown result code");
}

} // namespace
