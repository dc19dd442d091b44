// Reading a data file back as its scans, for tests that check what reached
// the disk: the records of a .bin file, the scan lines of a .csv file, and
// the numbers of the scans they hold.
#pragma once

#include "crlf_lines.h"
#include "file_bytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

namespace korvel {

// The records behind the checksum line and the six header lines of a .bin
// file; records (merged or not) of recordSize bytes each.
inline std::vector<std::string> binaryRecords(const std::string &path, std::size_t recordSize) {
    constexpr int kTextLines = 7;
    const std::string bytes = fileBytes(path);
    std::size_t at = 0;
    for (int line = 0; line < kTextLines && at != std::string::npos; ++line) {
        at = bytes.find("\r\n", at);
        if (at != std::string::npos) at += 2;
    }
    if (at == std::string::npos) {
        ADD_FAILURE() << path << " lacks its header";
        return {};
    }
    EXPECT_EQ((bytes.size() - at) % recordSize, 0u) << path << " holds whole records only";
    std::vector<std::string> records;
    for (; at + recordSize <= bytes.size(); at += recordSize) records.push_back(bytes.substr(at, recordSize));
    return records;
}

// The little-endian word at the offset of a record.
inline std::uint32_t recordWord(const std::string &record, std::size_t offset) {
    std::uint32_t word = 0;
    std::memcpy(&word, record.data() + offset, sizeof word);
    return word;
}

// The TOTAL column of a .csv line: of the instrument's own part (part 0) or
// of the part of a Master's k-th slave (part k), each instrument with this
// many channels. A part holds the readings, DIO, TOTAL, ALARM1 and ALARM2.
constexpr std::size_t csvTotalColumn(std::size_t channels, std::size_t part = 0) {
    return 1 + channels + 1 + part * (channels + 4);
}

// The columns of every scan line of a .csv file written with ',' as list
// separator: the lines after the six header lines, split at ", ".
inline std::vector<std::vector<std::string>> csvScanRows(const std::string &path) {
    constexpr std::size_t kHeaderLines = 6;
    const std::vector<std::string> lines = crlfLinesOf(fileBytes(path));
    std::vector<std::vector<std::string>> rows;
    for (std::size_t index = kHeaderLines; index < lines.size(); ++index) {
        std::vector<std::string> row;
        const std::string &line = lines[index];
        std::size_t start = 0;
        for (std::size_t end; (end = line.find(", ", start)) != std::string::npos; start = end + 2)
            row.push_back(line.substr(start, end - start));
        row.push_back(line.substr(start));
        rows.push_back(row);
    }
    return rows;
}

// 1, 2, ..., count: the scan numbers of an instrument that lost none.
inline std::vector<long> firstScans(long count) {
    std::vector<long> numbers(static_cast<std::size_t>(std::max(count, 0L)));
    std::iota(numbers.begin(), numbers.end(), 1L);
    return numbers;
}

// The scan numbers of a .bin file: the instrument counts its scans in the
// record's first word. In a Master's merged records a slave's part counts
// the slave's scans in its totalizer word, at an offset of its own.
inline std::vector<long> binaryScanNumbers(const std::string &path, std::size_t recordSize, std::size_t offset = 0) {
    std::vector<long> numbers;
    for (const std::string &record : binaryRecords(path, recordSize)) numbers.push_back(recordWord(record, offset));
    return numbers;
}

// One column of every line of a .csv file as numbers. The simulated
// totalizer counts a pulse per scan, so a TOTAL column numbers the scans.
inline std::vector<long> csvColumn(const std::string &path, std::size_t column) {
    std::vector<long> numbers;
    for (const auto &row : csvScanRows(path)) numbers.push_back(column < row.size() ? std::stol(row[column]) : -1);
    return numbers;
}

} // namespace korvel
