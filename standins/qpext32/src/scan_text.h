// One scan record as a CSV line: the instrument's time stamp, the readings,
// then digital I/O, totalizer and the two alarm words, in the order of the
// logger's .csv data files, with a point as the decimal symbol and each
// reading in the fewest digits that give back the same float.
#pragma once

#include <cstdint>
#include <string>

namespace qpext32 {

// Appends the line for a record of recordSize bytes (28 and more) to out.
// Time stamps read "20YY-MM-DD HH:MM:SS.mmm" in the instrument's own time;
// an open thermocouple reads "+9.00E+9" and overloads "+1.00E+9" and
// "-1.00E+9", as in the data files.
void appendScanCsv(std::string &out, const std::uint8_t *record, std::uint32_t recordSize);

} // namespace qpext32
