#include "scan_queue.h"

#include <cstring>

namespace qpext32 {

ScanQueue::ScanQueue(std::uint32_t bytes) : storage_(bytes) {}

void ScanQueue::push(const std::uint8_t *records, int count, std::uint32_t recordSize, std::uint32_t remaining) {
    if (recordSize != recordSize_) {
        lostSinceTake_ += count_;
        lostTotal_ += count_;
        count_ = 0;
        recordSize_ = recordSize;
        marks_.assign(capacity(), ScanMark{});
    }
    for (int i = 0; i < count; ++i) {
        ++handed_;
        if (count_ == marks_.size()) {
            ++lostSinceTake_;
            ++lostTotal_;
            continue;
        }
        std::memcpy(storage_.data() + count_ * recordSize_, records + static_cast<std::size_t>(i) * recordSize_,
                    recordSize_);
        marks_[count_++] = {handed_, remaining};
    }
}

void ScanQueue::takeAll(ScanBatch &batch) {
    batch.recordSize = recordSize_;
    batch.lost = lostSinceTake_;
    batch.lostTotal = lostTotal_;
    lostSinceTake_ = 0;
    batch.records.assign(storage_.begin(), storage_.begin() + static_cast<std::ptrdiff_t>(count_ * recordSize_));
    batch.marks.assign(marks_.begin(), marks_.begin() + static_cast<std::ptrdiff_t>(count_));
    count_ = 0;
}

} // namespace qpext32
