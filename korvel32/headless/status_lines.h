// One line per logging instrument and second on standard output: its BCN, the
// scans read in this run and the scans still waiting in the instrument.
#pragma once

#include <cstdint>
#include <iosfwd>

namespace korvel {

class InstrumentTable;
class LoggingEngine;

class StatusLines {
public:
    StatusLines(const InstrumentTable &table, const LoggingEngine &engine, std::ostream &out)
            : table_(table), engine_(engine), out_(out) {}

    // Prints the lines when the calendar second has moved on since the last.
    void update(std::int64_t second);

private:
    const InstrumentTable &table_;
    const LoggingEngine &engine_;
    std::ostream &out_;
    std::int64_t lastSecond_ = -1;
};

} // namespace korvel
