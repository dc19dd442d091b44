#include "scan_queue.h"

#include <algorithm>
#include <cstring>

namespace korvelsim {

bool validRecordSize(int size) {
    return size >= kScanHeaderSize && size <= kFullScanRecord && (size - kScanHeaderSize) % 4 == 0;
}

bool ScanQueue::setRecordSize(int size) {
    if (!validRecordSize(size) || (!scans_.empty() && size != recordSize_)) {
        return false;
    }
    recordSize_ = size;
    return true;
}

void ScanQueue::setCapacity(std::size_t capacity) {
    capacity_ = std::max<std::size_t>(capacity, 1);
    while (scans_.size() > capacity_) {
        scans_.pop_front();
        ++counters_.cleared;
    }
}

bool ScanQueue::push(Scan scan, FullQueue whenFull) {
    ++counters_.produced;
    if (full()) {
        ++counters_.lost;
        if (whenFull == FullQueue::DiscardNewest) {
            return false;
        }
        scans_.pop_front();
        scans_.push_back(std::move(scan));
        return false;
    }
    scans_.push_back(std::move(scan));
    return true;
}

void ScanQueue::clear() {
    counters_.cleared += scans_.size();
    scans_.clear();
}

std::vector<Scan> ScanQueue::take(std::size_t most) {
    const std::size_t count = std::min(most, scans_.size());
    counters_.fetched += count;
    std::vector<Scan> taken(scans_.begin(), scans_.begin() + static_cast<std::ptrdiff_t>(count));
    scans_.erase(scans_.begin(), scans_.begin() + static_cast<std::ptrdiff_t>(count));
    return taken;
}

Bytes encodeScanBlock(int recordSize, const std::vector<Scan> &scans, std::uint32_t remainingWord) {
    Bytes out;
    appendI32(out, recordSize);
    appendI32(out, static_cast<std::int32_t>(scans.size()));
    appendU32(out, remainingWord);
    const std::size_t readings = static_cast<std::size_t>(recordSize - kScanHeaderSize) / 4;
    for (const Scan &scan : scans) {
        appendI32(out, scan.first);
        std::uint8_t stamp[sizeof(InstrumentTime)];
        std::memcpy(stamp, &scan.stamp.time, sizeof stamp);
        out.insert(out.end(), stamp, stamp + sizeof stamp);
        appendU32(out, static_cast<std::uint32_t>(scan.stamp.milliseconds) | (std::uint32_t{scan.dio} << 16));
        appendU32(out, scan.alarm1);
        appendU32(out, scan.alarm2);
        appendU32(out, scan.totalizer);
        for (std::size_t channel = 0; channel < readings; ++channel) {
            appendFloat(out, channel < scan.readings.size() ? scan.readings[channel] : 0.0f);
        }
    }
    return out;
}

} // namespace korvelsim
