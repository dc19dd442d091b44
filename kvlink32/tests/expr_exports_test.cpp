// kvxParseExpr through the library: the guard, and outputs written only for
// the outcome they belong to.
#include "kvlink32.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct Outputs {
    std::array<uint8_t, KVX_EQUATION_AREA> code{};
    int32_t mask = -1;
    int32_t length = -1;
    int32_t position = -1;
    int32_t error = -1;

    int32_t parse(const char *text) { return kvxParseExpr(text, code.data(), &mask, &length, &position, &error); }
};

TEST(ExprExports, NeedsTheLibraryButNoSession) {
    Outputs before;
    EXPECT_EQ(before.parse("C1"), KVX_E_NOT_INIT);
    EXPECT_EQ(before.error, -1);

    ASSERT_EQ(kvxLibInit(0), KVX_OK);
    Outputs ok;
    EXPECT_EQ(ok.parse("c2 + 3"), KVX_OK);
    EXPECT_EQ(ok.error, 0);
    EXPECT_EQ(ok.mask, 0x2);
    EXPECT_EQ(ok.length, 10);
    EXPECT_EQ(ok.position, -1) << "no position on success";

    Outputs refused;
    EXPECT_EQ(refused.parse("LOG C1"), 0);
    EXPECT_EQ(refused.error, 5);
    EXPECT_EQ(refused.position, 4);
    EXPECT_EQ(refused.mask, -1) << "no mask on failure";
    EXPECT_EQ(refused.length, -1) << "no length on failure";
    EXPECT_EQ(kvxLibExit(), KVX_OK);
}

} // namespace
