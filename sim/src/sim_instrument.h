// An instrument as the simulator serves it: where it listens, its state,
// its faults and the log of every request it received.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_order.h"
#include "faults.h"
#include "instrument.h"

namespace korvelsim {

struct LoggedRequest {
    std::int32_t command = 0;
    Bytes bytes; // the whole request, header included
};

struct SimInstrument {
    SimInstrument(int bcnValue, std::string addressText, std::string model)
            : bcn(bcnValue), address(std::move(addressText)), device(bcnValue, std::move(model)) {}

    int bcn;
    std::string address;
    Instrument device;
    Faults faults;
    std::vector<LoggedRequest> log;
};

} // namespace korvelsim
