// Reads the instruments of a ccf.cfg file to serve them.
#pragma once

#include <string>
#include <vector>

#include "options.h"

namespace korvelsim {

struct CcfContents {
    int netMode = 0;
    int port = 0;
    std::vector<InstrumentEntry> instruments;
};

// Throws std::invalid_argument when the file cannot be read or does not parse.
CcfContents readCcfFile(const std::string &path);

} // namespace korvelsim
