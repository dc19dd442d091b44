#include "ccf_entries.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace korvelsim {

namespace {

constexpr int kModelM200A = 0;
constexpr int kModelM100A = 1;

int headerNumber(std::istream &in, const std::string &what) {
    std::string line;
    int value = 0;
    if (!std::getline(in, line) || !(std::istringstream(line) >> value)) {
        throw std::invalid_argument("ccf.cfg: missing " + what);
    }
    return value;
}

InstrumentEntry parseEntry(std::string line) {
    // "12, 127.0.0.12, 1": commas and dots separate the six numbers.
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == ',' || c == '.'; }, ' ');
    std::istringstream fields(line);
    int numbers[6] = {};
    for (int &number : numbers) {
        if (!(fields >> number)) {
            throw std::invalid_argument("ccf.cfg: damaged entry line");
        }
    }
    if (numbers[5] != kModelM200A && numbers[5] != kModelM100A) {
        throw std::invalid_argument("ccf.cfg: unknown model code " + std::to_string(numbers[5]));
    }
    InstrumentEntry entry;
    entry.bcn = numbers[0];
    entry.address = std::to_string(numbers[1]) + "." + std::to_string(numbers[2]) + "." + std::to_string(numbers[3]) +
                    "." + std::to_string(numbers[4]);
    entry.addressGiven = true;
    entry.model = numbers[5] == kModelM200A ? "M200A" : "M100A";
    return entry;
}

} // namespace

CcfContents readCcfFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::invalid_argument("cannot read " + path);
    }
    std::string line;
    std::getline(in, line); // the warning line
    CcfContents contents;
    contents.netMode = headerNumber(in, "network mode");
    contents.port = headerNumber(in, "socket port");
    while (std::getline(in, line)) {
        if (line.find_first_not_of(" \r\t") != std::string::npos) {
            contents.instruments.push_back(parseEntry(line));
        }
    }
    return contents;
}

} // namespace korvelsim
