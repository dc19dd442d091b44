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
inline constexpr std::size_t kDefaultQueueCapacity = 4000;

struct Scan {
    std::int32_t first = 0;
    ClockReading stamp;
    std::uint8_t dio = 0;
    std::uint32_t alarm1 = 0;
    std::uint32_t alarm2 = 0;
    std::uint32_t totalizer = 0;
    std::vector<float> readings; // channels that are not off, channel 1 first
};

// What happened to every scan the instrument made, so that a test can prove
// that none went missing: produced = fetched + lost + cleared + queued.
struct ScanCounters {
    std::uint64_t produced = 0;
    std::uint64_t fetched = 0;
    std::uint64_t lost = 0;    // overwritten or discarded because the queue was full
    std::uint64_t cleared = 0; // emptied by a clear, a reset or a new configuration
};

// What a full queue does with one more scan (scan memory mode of the options).
enum class FullQueue { OverwriteOldest, DiscardNewest };

// A record size the instrument can produce: the fixed part and 0..30 readings.
bool validRecordSize(int size);

class ScanQueue {
public:
    int recordSize() const { return recordSize_; }
    // Refused while the queue holds records of another size.
    bool setRecordSize(int size);
    std::size_t capacity() const { return capacity_; }
    // A smaller capacity drops the oldest scans beyond it (counted as cleared).
    void setCapacity(std::size_t capacity);
    bool full() const { return scans_.size() >= capacity_; }

    // False when the queue was full and a scan was lost.
    bool push(Scan scan, FullQueue whenFull);
    std::vector<Scan> take(std::size_t most);
    const Scan *newest() const { return scans_.empty() ? nullptr : &scans_.back(); }
    std::size_t size() const { return scans_.size(); }
    void clear();
    const ScanCounters &counters() const { return counters_; }

private:
    int recordSize_ = kFullScanRecord;
    std::size_t capacity_ = kDefaultQueueCapacity;
    std::deque<Scan> scans_;
    ScanCounters counters_;
};

// Record size, count, remaining word, then the records.
Bytes encodeScanBlock(int recordSize, const std::vector<Scan> &scans, std::uint32_t remainingWord);

} // namespace korvelsim
