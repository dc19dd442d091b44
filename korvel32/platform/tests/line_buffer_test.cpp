#include "platform/line_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvel {
namespace {

std::vector<std::string> takeAll(LineBuffer &buffer) {
    std::vector<std::string> lines;
    while (auto line = buffer.nextLine()) lines.push_back(*line);
    return lines;
}

TEST(LineBufferTest, LinesArriveWholeWhateverTheirPieces) {
    LineBuffer buffer(100);
    const std::string stream = "status\r\ncommand 1 12\n\nsubscribe 7\npartial";
    // One byte at a time is the hardest split there is.
    for (char byte : stream) ASSERT_TRUE(buffer.append(&byte, 1));
    EXPECT_EQ(takeAll(buffer), (std::vector<std::string>{"status", "command 1 12", "", "subscribe 7"}));
    ASSERT_TRUE(buffer.append(" line\n", 6));
    EXPECT_EQ(takeAll(buffer), (std::vector<std::string>{"partial line"}));
}

TEST(LineBufferTest, ALineMayReachTheBoundButNotPassIt) {
    LineBuffer atBound(8);
    EXPECT_TRUE(atBound.append("12345678\n12345678", 17));
    EXPECT_EQ(takeAll(atBound), (std::vector<std::string>{"12345678"}));

    LineBuffer completeLineTooLong(8);
    EXPECT_FALSE(completeLineTooLong.append("123456789\n", 10));

    // The bound holds for a line that grows over several pieces, even after
    // earlier lines were taken and their room reused.
    LineBuffer growing(8);
    ASSERT_TRUE(growing.append("ab\ncd\n12345", 11));
    EXPECT_EQ(takeAll(growing).size(), 2u);
    EXPECT_TRUE(growing.append("678", 3));
    EXPECT_FALSE(growing.append("9", 1));
}

TEST(LineBufferTest, ManyLinesThroughOneBufferKeepTheirOrder) {
    LineBuffer buffer(16);
    int expected = 0;
    for (int i = 0; i < 10000; ++i) {
        const std::string line = std::to_string(i) + "\n";
        ASSERT_TRUE(buffer.append(line.data(), line.size()));
        if (i % 7 == 0) {
            for (const std::string &taken : takeAll(buffer)) ASSERT_EQ(taken, std::to_string(expected++));
        }
    }
    for (const std::string &taken : takeAll(buffer)) ASSERT_EQ(taken, std::to_string(expected++));
    EXPECT_EQ(expected, 10000);
}

} // namespace
} // namespace korvel
