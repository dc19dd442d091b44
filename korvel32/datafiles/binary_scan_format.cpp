// Fast Binary: the checksum line, then every scan exactly as the library
// delivered it, so that the logging tick spends nothing on formatting.
#include "datafiles/channel_checksum.h"
#include "datafiles/data_file_group.h"
#include "datafiles/locked_data_file.h"
#include "datafiles/scan_batch.h"
#include "datafiles/scan_format.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>

namespace korvel {
namespace {

// The file holds the records little-endian, as they are in memory here.
static_assert(std::endian::native == std::endian::little, "Fast Binary records are stored in host byte order");

const ScanRecord kNoScanYet{};

class BinaryScanFormat final : public ScanFormat {
public:
    explicit BinaryScanFormat(const DataFileGroup &group) : group_(group), checksum_(channelChecksum(group)) {}

    std::string prologue() const override {
        char line[32];
        std::snprintf(line, sizeof line, "\"%u\"\r\n", checksum_);
        return line;
    }

    bool acceptsAppendTo(const std::string &firstBytes) const override {
        if (firstBytes.size() < 2) return false;
        // The checksum starts right after the opening quote.
        const std::string number = firstBytes.substr(1, kAppendCheckSize - 1);
        return std::strtoul(number.c_str(), nullptr, 10) == checksum_;
    }

    // The records go to disk straight from the scan buffer, as one write.
    std::size_t writeScans(LockedDataFile &file, const ScanBatch &batch, DaylightStates &) override {
        const ScanBufferHeader header = batch.header();
        const auto recordSize = static_cast<std::size_t>(header.recordSize);
        const auto count = static_cast<std::size_t>(std::max(header.count, 0));
        const std::string_view records(static_cast<const char *>(batch.block()) + sizeof(ScanBufferHeader),
                                       count * recordSize);
        return file.appendRecords(records, recordSize);
    }

    void appendMerged(std::string &out, const ScanRecord &owner, std::span<const ScanRecord *const> slaves,
                      DaylightStates &) const override {
        appendBytes(out, owner, 0, group_.owner.recordSize());
        for (std::size_t i = 0; i < group_.slaves.size(); ++i) {
            const ScanRecord *slave = i < slaves.size() && slaves[i] ? slaves[i] : &kNoScanYet;
            appendBytes(out, *slave, kScanTimePrefixSize, group_.slaves[i].recordSize());
        }
    }

private:
    static void appendBytes(std::string &out, const ScanRecord &scan, std::size_t from, std::size_t to) {
        out.append(reinterpret_cast<const char *>(&scan) + from, to - from);
    }

    const DataFileGroup &group_;
    std::uint32_t checksum_;
};

} // namespace

std::unique_ptr<ScanFormat> makeBinaryScanFormat(const DataFileGroup &group) {
    return std::make_unique<BinaryScanFormat>(group);
}

} // namespace korvel
