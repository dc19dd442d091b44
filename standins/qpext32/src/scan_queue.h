// One instrument's scan queue between the logger and the add-on's clients:
// a fixed number of bytes, filled by the logger's reads and emptied by the
// client service. A full queue takes no more: the scans that do not fit are
// counted as lost and the logger goes on at once. Not locked by itself; its
// owner keeps it under a lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qpext32 {

struct ScanMark {
    std::uint64_t number = 0;    // the scan's place among all the logger handed over, from 1
    std::uint32_t remaining = 0; // scans still in the instrument after its read
};

// Scans taken out of a queue, in order.
struct ScanBatch {
    std::uint32_t recordSize = 0;
    std::vector<std::uint8_t> records; // marks.size() records of recordSize bytes
    std::vector<ScanMark> marks;
    std::uint64_t lost = 0;      // scans lost since the last take
    std::uint64_t lostTotal = 0; // since the queue was made
};

class ScanQueue {
public:
    // Throws std::bad_alloc when the bytes cannot be had.
    explicit ScanQueue(std::uint32_t bytes);

    std::uint32_t bytes() const { return static_cast<std::uint32_t>(storage_.size()); }
    std::uint64_t lostTotal() const { return lostTotal_; }
    // Scans queued, or lost, since the last take.
    bool hasNews() const { return count_ > 0 || lostSinceTake_ > 0; }

    // Adds count records of recordSize bytes. A record size other than the
    // queued scans' discards those scans (they are counted lost): the
    // instrument's channels changed, and both kinds cannot share the queue.
    void push(const std::uint8_t *records, int count, std::uint32_t recordSize, std::uint32_t remaining);
    // Numbers the scans as push() would, without keeping them: nobody waits for them.
    void skip(int count) { handed_ += static_cast<std::uint64_t>(count); }
    // Moves every queued scan, and the count of those lost since the last take, into batch.
    void takeAll(ScanBatch &batch);

private:
    std::size_t capacity() const { return recordSize_ == 0 ? 0 : storage_.size() / recordSize_; }

    // Every take empties the queue, so the scans always begin at its start.
    std::vector<std::uint8_t> storage_;
    std::vector<ScanMark> marks_;
    std::uint32_t recordSize_ = 0;
    std::size_t count_ = 0;
    std::uint64_t handed_ = 0;
    std::uint64_t lostSinceTake_ = 0;
    std::uint64_t lostTotal_ = 0;
};

} // namespace qpext32
