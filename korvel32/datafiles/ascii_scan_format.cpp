// ASCII (CSV): one text line per scan, the serial date first, then every
// defined channel's value text and the instrument's DIO, totalizer and alarm
// words, so that spreadsheets and ordinary CSV tools read the file as it is.
#include "datafiles/data_file_group.h"
#include "datafiles/locked_data_file.h"
#include "datafiles/scan_batch.h"
#include "datafiles/scan_format.h"
#include "datafiles/scan_time.h"
#include "datafiles/serial_date.h"
#include "platform/regional_formats.h"
#include "platform/value_text.h"

#include <charconv>
#include <cstdint>
#include <vector>

namespace korvel {
namespace {

const ScanRecord kNoScanYet{};

constexpr std::size_t kSeparatorLength = 2; // the list separator and a space
// The longest part of one instrument: every channel and the four words.
constexpr std::size_t kPartCapacity =
    KVX_MAX_CHANNELS * (kSeparatorLength + kValueTextCapacity) + 4 * (kSeparatorLength + 10);

class AsciiScanFormat final : public ScanFormat {
public:
    AsciiScanFormat(const DataFileGroup &group, const RegionalFormats &formats)
            : group_(group), sep_(formats.listSeparator), decimal_(formats.decimalSymbol),
              values_(formats.decimalSymbol) {}

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
        const ScanTime time = convertScanTime(scan.time, daylight);
        char text[kSerialDateCapacity];
        out.append(text, writeSerialDate(time.local, scan.msAndDio & 0xFFFFu, decimal_, text));
    }

    // The columns of one instrument after the time, made in one piece.
    void appendPart(std::string &out, const ScanRecord &scan, const InstrumentPart &part) const {
        char text[kPartCapacity];
        char *write = text;
        for (std::size_t i = 0; i < part.channels.size(); ++i) {
            write = writeSeparator(write);
            write += values_.write(scan.readings[i], write);
        }
        write = writeNumber(write, (scan.msAndDio >> 16) & 0xFFu);
        write = writeNumber(write, scan.totalizer);
        write = writeNumber(write, scan.alarm1);
        write = writeNumber(write, scan.alarm2);
        out.append(text, write);
    }

    char *writeSeparator(char *write) const {
        write[0] = sep_;
        write[1] = ' ';
        return write + kSeparatorLength;
    }

    char *writeNumber(char *write, std::uint32_t value) const {
        write = writeSeparator(write);
        return std::to_chars(write, write + 10, value).ptr;
    }

    const DataFileGroup &group_;
    char sep_;
    char decimal_;
    ValueTexts values_;
    std::string lines_; // kept between batches for its capacity
    std::vector<std::size_t> lineEnds_;
};

} // namespace

std::unique_ptr<ScanFormat> makeAsciiScanFormat(const DataFileGroup &group, const RegionalFormats &formats) {
    return std::make_unique<AsciiScanFormat>(group, formats);
}

} // namespace korvel
