// ASCII (CSV): one text line per scan, the serial date first, then every
// defined channel's value text and the instrument's DIO, totalizer and alarm
// words, so that spreadsheets and ordinary CSV tools read the file as it is.
#include "datafiles/ascii_scan_line.h"
#include "datafiles/data_file_group.h"
#include "datafiles/locked_data_file.h"
#include "datafiles/scan_batch.h"
#include "datafiles/scan_format.h"

#include <vector>

namespace korvel {
namespace {

const ScanRecord kNoScanYet{};

class AsciiScanFormat final : public ScanFormat {
public:
    AsciiScanFormat(const DataFileGroup &group, const RegionalFormats &formats) : group_(group), line_(formats) {}

    std::string prologue() const override { return {}; }

    bool acceptsAppendTo(const std::string &) const override { return true; }

    // The lines of a batch go to disk with one write.
    std::size_t writeScans(LockedDataFile &file, const ScanBatch &batch, DaylightStates &daylight) override {
        lines_.clear();
        lineEnds_.clear();
        for (int i = 0; i < batch.header().count; ++i) {
            const ScanRecord scan = batch.record(i);
            appendTime(lines_, scan, daylight);
            appendPart(lines_, scan, group_.owner);
            lines_ += "\r\n";
            lineEnds_.push_back(lines_.size());
        }
        return file.appendRecords(lines_, lineEnds_);
    }

    void appendMerged(std::string &out, const ScanRecord &owner, std::span<const ScanRecord *const> slaves,
                      DaylightStates &daylight) const override {
        appendTime(out, owner, daylight);
        appendPart(out, owner, group_.owner);
        for (std::size_t i = 0; i < group_.slaves.size(); ++i)
            appendPart(out, i < slaves.size() && slaves[i] ? *slaves[i] : kNoScanYet, group_.slaves[i]);
        out += "\r\n";
    }

private:
    void appendTime(std::string &out, const ScanRecord &scan, DaylightStates &daylight) const {
        char text[AsciiScanLine::kTimeCapacity];
        out.append(text, line_.writeTime(scan, daylight, text));
    }

    // The columns of one instrument after the time, made in one piece.
    void appendPart(std::string &out, const ScanRecord &scan, const InstrumentPart &part) const {
        char text[AsciiScanLine::kPartCapacity];
        out.append(text, line_.writePart(scan, part.channels.size(), text));
    }

    const DataFileGroup &group_;
    AsciiScanLine line_;
    std::string lines_; // kept between batches for its capacity
    std::vector<std::size_t> lineEnds_;
};

} // namespace

std::unique_ptr<ScanFormat> makeAsciiScanFormat(const DataFileGroup &group, const RegionalFormats &formats) {
    return std::make_unique<AsciiScanFormat>(group, formats);
}

} // namespace korvel
