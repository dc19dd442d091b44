// Misbehaviour switched on per instrument, so that a test can watch the
// library cope with silent, slow, chatty or broken instruments.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "byte_order.h"

namespace korvelsim {

struct ErrorFault {
    std::int32_t code = 0;
    std::optional<std::int32_t> command; // every command when absent
    std::optional<int> remaining;        // without end when absent
};

// Scans made just as a request arrives, before the instrument acts on it: a
// scan falling in the gap between a client's last read and that request.
struct ScansBefore {
    std::int32_t command = 0;
    int count = 0;
};

struct Faults {
    bool silent = false;
    std::chrono::milliseconds delay{0};
    bool bytewise = false;
    int foreignReplies = 0;
    std::optional<ErrorFault> error;
    std::optional<int> closeAfter;          // requests still to come, the last unanswered
    std::optional<std::uint32_t> badLength; // announced by the next reply only
    std::optional<Bytes> payload;           // raw payload of the next reply only
    bool paused = false;                    // replies wait until answering resumes
    std::optional<ScansBefore> scansBefore; // before the next request of that command only

    // The error code to answer this command with instead of the instrument.
    std::optional<std::int32_t> takeError(std::int32_t command);
    // True when this request ends the connection unanswered.
    bool takeCloseAfter();
    bool takeForeignReply();
    std::optional<std::uint32_t> takeBadLength();
    std::optional<Bytes> takePayload();
    // The scans to make before this request: 0 unless it is the awaited command.
    int takeScansBefore(std::int32_t command);
};

} // namespace korvelsim
