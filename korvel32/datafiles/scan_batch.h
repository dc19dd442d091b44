// The scans of one read as the library delivers them: the buffer header, then
// the records, each as long as the instrument's channels that are not OFF
// make it. The data files write them from here.
#pragma once

#include "kvlink32.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace korvel {

class ScanBatch {
public:
    static constexpr std::size_t kRecordArea = 2960;

    // The block handed to kvxScansGet: header, then the records.
    void *block() { return block_.data(); }
    const void *block() const { return block_.data(); }

    ScanBufferHeader header() const {
        ScanBufferHeader header;
        std::memcpy(&header, block_.data(), sizeof header);
        return header;
    }
    void setHeader(const ScanBufferHeader &header) { std::memcpy(block_.data(), &header, sizeof header); }

    // Record index of the last read; only the readings of its channels are filled.
    ScanRecord record(int index) const {
        ScanRecord scan{};
        std::memcpy(&scan, block_.data() + recordOffset(index), recordBytes());
        return scan;
    }
    void setRecord(int index, const ScanRecord &scan) {
        std::memcpy(block_.data() + recordOffset(index), &scan, recordBytes());
    }

private:
    std::size_t recordBytes() const {
        return std::min(static_cast<std::size_t>(header().recordSize), sizeof(ScanRecord));
    }
    std::size_t recordOffset(int index) const {
        return sizeof(ScanBufferHeader) + recordBytes() * static_cast<std::size_t>(index);
    }

    alignas(4) std::array<std::uint8_t, sizeof(ScanBufferHeader) + kRecordArea> block_{};
};

} // namespace korvel
