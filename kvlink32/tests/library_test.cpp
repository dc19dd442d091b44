// The library's frame: start and stop, the time-out setting, the PC time
// base, and what every call answers before the library is started.
#include "kvlink32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <regex>
#include <string>

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

// A code added to the header without its name and text would reach the logs
// and the tools as "unknown".
TEST(LibraryNames, EveryResultCodeOfTheHeaderHasItsNameAndText) {
    std::ifstream header(KVLINK32_HEADER);
    ASSERT_TRUE(header.is_open()) << KVLINK32_HEADER;
    const std::regex definition(R"(^#define (KVX_OK|KVX_E_\w+|KVX_INST_\w+) (-?\d+))");
    int codes = 0;
    for (std::string line; std::getline(header, line);) {
        std::smatch match;
        if (!std::regex_search(line, match, definition)) continue;
        const auto code = static_cast<int32_t>(std::stol(match[2]));
        EXPECT_EQ(kvxErrorName(code), match[1].str()) << code;
        EXPECT_STRNE(kvxErrorText(code), "unknown result code") << match[1];
        ++codes;
    }
    EXPECT_GT(codes, 40) << "the header's result codes were not found";
}

} // namespace
