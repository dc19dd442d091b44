// Turns one complete request into what goes back on the connection, with
// the instrument's faults applied.
#pragma once

#include <chrono>

#include "byte_order.h"
#include "command_table.h"
#include "sim_instrument.h"

namespace korvelsim {

struct Outcome {
    enum class Kind { Answer, NoAnswer, CloseConnection };
    Kind kind = Kind::NoAnswer;
    Bytes bytes; // every reply to send, in order
    std::chrono::milliseconds delay{0};
    bool bytewise = false;
};

// request holds a whole message whose length field matched its size.
Outcome handleRequest(SimInstrument &instrument, Link link, const Bytes &request);

} // namespace korvelsim
