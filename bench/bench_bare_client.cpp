#include "bench_bare_client.h"

#include <kvlink32.h>

#include <array>
#include <cstring>

namespace korvel::bench {

BareReads readRoundRobin(const std::vector<std::uint16_t> &bcns, int batchSize,
                         std::chrono::steady_clock::time_point deadline,
                         const std::function<void(int scans)> &afterRead) {
    std::array<std::uint8_t, sizeof(ScanBufferHeader) + KVX_MAX_SCANS * KVX_MAX_SCAN_RECORD> block{};
    BareReads reads;
    for (std::size_t next = 0; std::chrono::steady_clock::now() < deadline; next = (next + 1) % bcns.size()) {
        int scans = 0;
        if (kvxScansGet(bcns[next], static_cast<std::uint32_t>(batchSize), block.data()) < 0) {
            ++reads.failures;
        } else {
            ScanBufferHeader header;
            std::memcpy(&header, block.data(), sizeof header);
            scans = header.count;
        }
        reads.scans += scans;
        ++reads.passes;
        afterRead(scans);
    }
    return reads;
}

} // namespace korvel::bench
