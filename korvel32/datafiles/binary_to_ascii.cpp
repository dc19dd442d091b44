#include "datafiles/binary_to_ascii.h"

#include "datafiles/ascii_scan_line.h"
#include "datafiles/conversion_text_target.h"
#include "datafiles/data_file_group.h"
#include "datafiles/scan_time.h"
#include "platform/string_table.h"
#include "platform/user_interface.h"

#include <cstring>
#include <filesystem>
#include <vector>

namespace korvel {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kLineEndSize = 2;

class AsciiConversionTarget final : public BinaryConversionTarget {
public:
    AsciiConversionTarget(const std::string &targetPath, const RegionalFormats &formats, UserInterface &ui)
            : path_(targetPath), line_(formats), ui_(ui) {}

    bool create() override {
        if (text_.create(path_)) return true;
        ui_.showMessage(messageNaming(message::kCannotCreateFile, path_), MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }

    // The first line names the target; the other five stay as they are.
    ConversionFlow begin(const BinaryFileHeader &header) override {
        const BinaryRecordLayout &layout = header.layout;
        recordSize_ = layout.recordSize();
        parts_.clear();
        for (std::size_t i = 0; i < layout.channels.size(); ++i)
            parts_.push_back({layout.partOffset(i), layout.partSize(i), layout.channels[i]});
        lineCapacity_ = AsciiScanLine::kTimeCapacity + parts_.size() * AsciiScanLine::kPartCapacity + kLineEndSize;
        text_.append("\"" + std::filesystem::path(path_).filename().string() + "\"" + kLineEnd);
        for (std::size_t i = 1; i < header.lines.size(); ++i) text_.append(header.lines[i]);
        return flow();
    }

    ConversionFlow write(const char *records, std::size_t count) override {
        for (std::size_t i = 0; i < count; ++i) writeLine(records + i * recordSize_);
        return flow();
    }

    bool close() override { return text_.close(); }

private:
    void writeLine(const char *record) {
        char *out = text_.room(lineCapacity_);
        ScanRecord scan;
        std::memcpy(&scan, record, parts_[0].size);
        out = line_.writeTime(scan, daylight_, out);
        out = line_.writePart(scan, parts_[0].channels, out);
        // A slave's bytes are its record from the milliseconds on.
        for (std::size_t slave = 1; slave < parts_.size(); ++slave) {
            const Part &part = parts_[slave];
            std::memcpy(reinterpret_cast<char *>(&scan) + kScanTimePrefixSize, record + part.offset, part.size);
            out = line_.writePart(scan, part.channels, out);
        }
        std::memcpy(out, kLineEnd, kLineEndSize);
        text_.commit(out + kLineEndSize);
    }

    ConversionFlow flow() const { return text_.failed() ? ConversionFlow::WriteFailed : ConversionFlow::Continue; }

    std::string path_;
    AsciiScanLine line_;
    UserInterface &ui_;
    ConversionTextTarget text_;
    struct Part {
        std::size_t offset; // in the merged record
        std::size_t size;
        std::size_t channels;
    };
    std::vector<Part> parts_; // the owner's, then each slave's
    std::size_t recordSize_ = 0;
    std::size_t lineCapacity_ = 0;
    DaylightStates daylight_; // of the whole file, as of one logging run
};

} // namespace

std::unique_ptr<BinaryConversionTarget> makeAsciiConversionTarget(const std::string &targetPath,
                                                                  const RegionalFormats &formats, UserInterface &ui) {
    return std::make_unique<AsciiConversionTarget>(targetPath, formats, ui);
}

} // namespace korvel
