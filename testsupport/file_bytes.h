// The whole content of a file the test wrote, as it lies on the disk.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline std::string fileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
