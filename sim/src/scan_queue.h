// The instrument's scan queue and the scan block it answers with.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "byte_order.h"
#include "instrument_clock.h"

namespace korvelsim {

inline constexpr int kScanHeaderSize = 28;
inline constexpr int kFullScanRecord = 148;

struct Scan {
    std::int32_t first = 0;
    ClockReading stamp;
    std::uint8_t dio = 0;
    std::uint32_t alarm1 = 0;
    std::uint32_t alarm2 = 0;
    std::uint32_t totalizer = 0;
    std::vector<float> readings;  // channel 1 first
};

// A record size the instrument can produce: the fixed part and 0..30 readings.
bool validRecordSize(int size);

class ScanQueue {
public:
    int recordSize() const { return recordSize_; }
    // Refused while the queue holds records of another size.
    bool setRecordSize(int size);
    void push(Scan scan) { scans_.push_back(std::move(scan)); }
    std::vector<Scan> take(std::size_t most);
    const Scan* newest() const { return scans_.empty() ? nullptr : &scans_.back(); }
    std::size_t size() const { return scans_.size(); }
    void clear() { scans_.clear(); }

private:
    int recordSize_ = kFullScanRecord;
    std::deque<Scan> scans_;
};

// Record size, count, remaining word, then the records.
Bytes encodeScanBlock(int recordSize, const std::vector<Scan>& scans, std::uint32_t remainingWord);

}  // namespace korvelsim
