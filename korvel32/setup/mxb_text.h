// The text of an Mx+B file: one line per channel, "channel  M  B", read
// before anything is applied so that a bad line leaves the instrument alone.
#pragma once

#include "setup/instrument_setup.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct MxbLine {
    int channel = 0;
    double m = 1.0;
    double b = 0.0;
};

struct MxbText {
    bool valid = false;
    std::vector<MxbLine> lines;
    std::string offendingLine; // the first bad line as it stood, when not valid
};

// Reads the lines of the text. The regional decimal character stands for the
// point; the offending line is handed back with the user's own decimal
// character, ready to quote.
MxbText parseMxbText(std::string_view text, char decimalSymbol);

// Sets the scaling of every named channel that is defined (not OFF); true when
// there was at least one. M and B are kept in single precision, the
// instrument's own, and a factor that does nothing switches scaling off.
bool applyMxbLines(InstrumentSetup &setup, const std::vector<MxbLine> &lines);

} // namespace korvel
