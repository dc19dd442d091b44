#include "datafiles/binary_file_conversion.h"

#include "datafiles/data_file_group.h"
#include "platform/ascii_digits.h"
#include "platform/string_table.h"
#include "platform/user_interface.h"

#include "kvlink32.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace korvel {
namespace {

constexpr std::size_t kHeaderLines = 7; // the checksum, then the six lines of an ASCII file
constexpr std::size_t kCountsLine = 5;
// No header of up to 20 instruments comes near this; a file without its
// seventh line end by then is no Fast data file.
constexpr std::size_t kLongestHeader = 1024 * 1024;
constexpr std::size_t kOwnerColumnsBeyondChannels = 5; // TIME, DIO, TOTAL, ALARM1, ALARM2
constexpr std::size_t kSlaveColumnsBeyondChannels = 4;
constexpr std::size_t kMostInstruments = 20;

class BinaryFileConversion final : public Conversion {
public:
    BinaryFileConversion(const std::string &sourcePath, std::unique_ptr<BinaryConversionTarget> target,
                         UserInterface &ui)
            : sourcePath_(sourcePath), target_(std::move(target)), ui_(ui) {}

    bool createTarget() override { return target_->create(); }

    ConversionFlow convert(std::string_view bytes) override {
        if (recordSize_ == 0) {
            const std::size_t taken = takeHeader(bytes);
            if (taken == 0) return refuse();
            bytes.remove_prefix(std::min(taken, bytes.size()));
            if (recordSize_ == 0) return ConversionFlow::Continue;
            const ConversionFlow begun = target_->begin(header_);
            if (begun != ConversionFlow::Continue) return begun;
        }
        return takeRecords(bytes);
    }

    // A record cut short at the end is left out.
    ConversionFlow finish() override { return recordSize_ == 0 ? refuse() : ConversionFlow::Continue; }

    bool closeTarget() override { return target_->close(); }

private:
    // Takes header bytes; returns how many, or 0 when the header is not one
    // of a Fast data file. recordSize_ is set once the header is complete.
    std::size_t takeHeader(std::string_view bytes) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            const std::size_t lineEnd = bytes.find('\n', at);
            const std::size_t end = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
            line_.append(bytes.substr(at, end - at));
            headerBytes_ += end - at;
            at = end;
            if (headerBytes_ > kLongestHeader) return 0;
            if (lineEnd == std::string_view::npos) break;
            if (!completeLine()) return 0;
            if (recordSize_ != 0) break;
        }
        return at;
    }

    // A header line has ended; false when it makes the file invalid.
    bool completeLine() {
        ++lines_;
        if (lines_ > 1) header_.lines.push_back(line_); // the checksum line is not carried over
        if (lines_ == kCountsLine) {
            std::optional<BinaryRecordLayout> layout = layoutOfColumnCounts(line_);
            if (!layout) return false;
            header_.layout = std::move(*layout);
        }
        line_.clear();
        if (lines_ == kHeaderLines) recordSize_ = header_.layout.recordSize();
        return true;
    }

    ConversionFlow takeRecords(std::string_view bytes) {
        if (!pending_.empty()) {
            const std::size_t missing = std::min(recordSize_ - pending_.size(), bytes.size());
            pending_.append(bytes.substr(0, missing));
            bytes.remove_prefix(missing);
            if (pending_.size() < recordSize_) return ConversionFlow::Continue;
            const ConversionFlow written = target_->write(pending_.data(), 1);
            pending_.clear();
            if (written != ConversionFlow::Continue) return written;
        }
        const std::size_t whole = bytes.size() / recordSize_;
        pending_.assign(bytes.substr(whole * recordSize_));
        return whole == 0 ? ConversionFlow::Continue : target_->write(bytes.data(), whole);
    }

    ConversionFlow refuse() {
        ui_.showMessage(messageNaming(message::kInvalidBinaryFile, sourcePath_), MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return ConversionFlow::Stopped;
    }

    std::string sourcePath_;
    std::unique_ptr<BinaryConversionTarget> target_;
    UserInterface &ui_;
    BinaryFileHeader header_;
    std::string line_; // the header line being read
    std::size_t lines_ = 0;
    std::size_t headerBytes_ = 0;
    std::size_t recordSize_ = 0; // known once the header is read
    std::string pending_;        // a record begun in the last chunk
};

} // namespace

std::size_t BinaryRecordLayout::partOffset(std::size_t instrument) const {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < instrument; ++i) offset += partSize(i);
    return offset;
}

std::size_t BinaryRecordLayout::partSize(std::size_t instrument) const {
    const std::size_t record = KVX_SCAN_HEADER_SIZE + sizeof(float) * channels[instrument];
    return instrument == 0 ? record : record - kScanTimePrefixSize;
}

std::size_t BinaryRecordLayout::recordSize() const { return channels.empty() ? 0 : partOffset(channels.size()); }

std::optional<BinaryRecordLayout> layoutOfColumnCounts(std::string_view line) {
    if (line.empty() || !isDigit(line.front())) return std::nullopt;
    BinaryRecordLayout layout;
    std::size_t at = 0;
    while (at < line.size()) {
        if (!isDigit(line[at])) {
            ++at;
            continue;
        }
        std::size_t columns = 0;
        std::size_t digits = 0;
        for (; at < line.size() && isDigit(line[at]); ++at, ++digits)
            columns = columns * 10 + static_cast<std::size_t>(line[at] - '0');
        const std::size_t beyond = layout.channels.empty() ? kOwnerColumnsBeyondChannels : kSlaveColumnsBeyondChannels;
        if (digits > 2 || columns < beyond || columns - beyond > KVX_MAX_CHANNELS ||
            layout.channels.size() == kMostInstruments) {
            return std::nullopt;
        }
        layout.channels.push_back(columns - beyond);
    }
    return layout;
}

std::unique_ptr<Conversion> makeBinaryFileConversion(const std::string &sourcePath,
                                                     std::unique_ptr<BinaryConversionTarget> target,
                                                     UserInterface &ui) {
    return std::make_unique<BinaryFileConversion>(sourcePath, std::move(target), ui);
}

} // namespace korvel
