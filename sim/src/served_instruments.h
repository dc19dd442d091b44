// Decides from the options which instruments to serve, where, and on which base port.
#pragma once

#include <vector>

#include "options.h"
#include "sim_instrument.h"

namespace korvelsim {

struct ServedInstruments {
    std::vector<SimInstrument> instruments;
    int port = 0; // 0: pick a free one
};

// Throws std::invalid_argument for a setup the simulator refuses.
ServedInstruments resolveInstruments(const Options &options, const char *environmentPrefix);

} // namespace korvelsim
