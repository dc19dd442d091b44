#include "datafiles/ascii_timestamps.h"

#include "datafiles/conversion_text_target.h"
#include "datafiles/date_time_text.h"
#include "platform/ascii_digits.h"
#include "platform/clock.h"
#include "platform/regional_formats.h"
#include "platform/string_table.h"
#include "platform/user_interface.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>

namespace korvel {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr std::int64_t kSecondsFrom1899To1970 = 2209161600;
constexpr std::int64_t kSecondsPerHour = 3600;
// Guards against the nine decimals of the day falling just short of a
// millisecond the scan was taken at.
constexpr double kRoundingSeconds = 0.00049;
// Day numbers go up to the year 9999; a longer field is no serial date.
constexpr double kLastDay = 2958466.0;
constexpr std::size_t kLongestSerialDate = 32;
constexpr std::size_t kHeaderLines = 6;

// Where the bytes take the conversion next.
enum class Place {
    FirstLine,  // replaced by the target's name
    HeaderLine, // copied
    LineStart,  // a scan line must begin with a digit
    TimeField,  // up to the list separator or the line end
    RestOfLine, // copied
};

class AsciiTimestampConversion final : public Conversion {
public:
    AsciiTimestampConversion(const std::string &sourcePath, const std::string &targetPath,
                             const RegionalFormats &formats, UserInterface &ui)
            : sourcePath_(sourcePath), targetPath_(targetPath), formats_(formats), ui_(ui) {}

    bool createTarget() override {
        if (text_.create(targetPath_)) return true;
        ui_.showMessage(messageNaming(message::kCannotCreateFile, targetPath_), MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return false;
    }

    ConversionFlow convert(std::string_view bytes) override {
        if (!started_ && bytes.front() != '"') return refuse();
        started_ = true;
        while (!bytes.empty()) {
            if (!take(bytes)) return refuse();
            if (text_.failed()) return ConversionFlow::WriteFailed;
        }
        return ConversionFlow::Continue;
    }

    // A source without a whole first line is no ASCII data file; a last
    // line without its line end still has its time converted.
    ConversionFlow finish() override {
        if (place_ == Place::FirstLine) return refuse();
        if (place_ == Place::TimeField && !writeTime()) return refuse();
        return text_.failed() ? ConversionFlow::WriteFailed : ConversionFlow::Continue;
    }

    bool closeTarget() override { return text_.close(); }

private:
    // Takes bytes from the front; false when they make the file invalid.
    bool take(std::string_view &bytes) {
        switch (place_) {
            case Place::FirstLine: {
                const bool ended = skipLine(bytes);
                if (ended) {
                    text_.append("\"" + std::filesystem::path(targetPath_).filename().string() + "\"\r\n");
                    endLine();
                }
                return true;
            }
            case Place::HeaderLine:
            case Place::RestOfLine:
                if (copyLine(bytes)) endLine();
                return true;
            case Place::LineStart:
                if (!isDigit(bytes.front())) return false;
                field_.clear();
                place_ = Place::TimeField;
                return true;
            case Place::TimeField: return takeField(bytes);
        }
        return false;
    }

    // Drops bytes up to the line end; true when it came.
    static bool skipLine(std::string_view &bytes) {
        const std::size_t lineEnd = bytes.find('\n');
        bytes.remove_prefix(lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1);
        return lineEnd != std::string_view::npos;
    }

    bool copyLine(std::string_view &bytes) {
        const std::size_t lineEnd = bytes.find('\n');
        const std::size_t end = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
        text_.append(bytes.substr(0, end));
        bytes.remove_prefix(end);
        return lineEnd != std::string_view::npos;
    }

    void endLine() {
        ++lines_;
        place_ = lines_ < kHeaderLines ? Place::HeaderLine : Place::LineStart;
    }

    bool takeField(std::string_view &bytes) {
        std::size_t end = 0;
        while (end < bytes.size() && bytes[end] != formats_.listSeparator && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        if (field_.size() + end > kLongestSerialDate) return false;
        field_.append(bytes.substr(0, end));
        bytes.remove_prefix(end);
        if (bytes.empty()) return true; // the field goes on in the next chunk
        place_ = Place::RestOfLine;
        return writeTime();
    }

    bool writeTime() {
        const std::optional<std::string> text = serialDateTimeText(field_, formats_);
        if (!text) return false;
        text_.append(*text);
        return true;
    }

    ConversionFlow refuse() {
        ui_.showMessage(messageNaming(message::kInvalidAsciiFile, sourcePath_), MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return ConversionFlow::Stopped;
    }

    std::string sourcePath_;
    std::string targetPath_;
    RegionalFormats formats_;
    UserInterface &ui_;
    ConversionTextTarget text_;
    bool started_ = false; // the first byte has been seen
    Place place_ = Place::FirstLine;
    std::size_t lines_ = 0; // the lines ended so far
    std::string field_;     // the TIME value being read
};

} // namespace

std::optional<std::string> serialDateTimeText(std::string_view serialDate, const RegionalFormats &formats) {
    // Digits, then perhaps the decimal symbol and more digits.
    std::string number(serialDate);
    const std::size_t point = number.find(formats.decimalSymbol);
    if (point != std::string::npos) number[point] = '.';
    double days = 0.0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), days, std::chars_format::fixed);
    if (number.empty() || !isDigit(number.front()) || error != std::errc() || end != number.data() + number.size() ||
        days >= kLastDay) {
        return std::nullopt;
    }

    const double seconds = days * kSecondsPerDay + kRoundingSeconds;
    const double whole = std::floor(seconds);
    const auto milliseconds = static_cast<unsigned>((seconds - whole) * 1000.0);
    const std::int64_t calendar = static_cast<std::int64_t>(whole) + standardOffsetWest() - kSecondsFrom1899To1970;
    std::tm local = localTimeOf(calendar);
    // The serial date counts daylight time by the wall clock.
    if (local.tm_isdst > 0 && !epochInDaylightTime()) local = localTimeOf(calendar - kSecondsPerHour);
    return dateTimeText(local, formats, milliseconds);
}

std::unique_ptr<Conversion> makeAsciiTimestampConversion(const std::string &sourcePath, const std::string &targetPath,
                                                         const RegionalFormats &formats, UserInterface &ui) {
    return std::make_unique<AsciiTimestampConversion>(sourcePath, targetPath, formats, ui);
}

} // namespace korvel
