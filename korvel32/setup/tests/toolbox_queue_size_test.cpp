#include "setup/toolbox_queue_size.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(ToolboxQueueSizeTest, NoQueueOrOneThatHoldsAWholeScanUpToTheLargest) {
    const struct {
        std::uint32_t bytes;
        bool accepted;
    } cases[] = {{0, true},    {1, false},    {147, false},   {148, true},
                 {4096, true}, {65440, true}, {65441, false}, {0xFFFFFFFFu, false}};
    for (const auto &test : cases) EXPECT_EQ(acceptableToolboxQueueSize(test.bytes), test.accepted) << test.bytes;
}

} // namespace
} // namespace korvel
