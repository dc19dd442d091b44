// The baseline of the logging benchmarks: a bare kvlink32 client that reads
// the instruments' scans the way the logging tick does (one batch of one
// instrument per pass, the instruments in turn) and does nothing with them.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace korvel::bench {

struct BareReads {
    long scans = 0;
    long passes = 0;
    long failures = 0; // reads answered with an error code
};

// Reads until the deadline; afterRead gets the scans of each pass, so that a
// caller can rest between passes as the logger's loop does.
BareReads readRoundRobin(const std::vector<std::uint16_t> &bcns, int batchSize,
                         std::chrono::steady_clock::time_point deadline,
                         const std::function<void(int scans)> &afterRead);

} // namespace korvel::bench
