// The lines of a data file's text, each of which must end CR LF.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline std::vector<std::string> crlfLinesOf(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends CR LF";
    return lines;
}
