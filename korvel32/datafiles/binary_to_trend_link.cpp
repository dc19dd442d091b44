#include "datafiles/binary_to_trend_link.h"

#include "datafiles/data_file_group.h"
#include "datafiles/trend_link_chart.h"
#include "datafiles/trend_link_interface.h"
#include "datafiles/trend_link_messages.h"
#include "datafiles/trend_link_names.h"
#include "datafiles/trend_link_registry.h"
#include "datafiles/trend_link_tags.h"
#include "datafiles/trend_link_time.h"
#include "datafiles/trend_link_writing.h"
#include "platform/file_exists.h"
#include "platform/string_table.h"
#include "setup/data_file_rules.h"
#include "setup/scan_fields.h"
#include "setup/text_format.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace korvel {
namespace {

// The six header lines as BinaryFileHeader holds them.
constexpr std::size_t kCommentLine = 2;
constexpr std::size_t kColumnTitlesLine = 4;
constexpr std::size_t kColumnNamesLine = 5;
constexpr std::size_t kTimeColumns = 1; // the owner's TIME leads
constexpr double kSecond = 1000.0;
constexpr double kHalfSecond = 500.0;

// The items between double quotes of a header line, in order.
std::vector<std::string> quotedItems(std::string_view line) {
    std::vector<std::string> items;
    for (std::size_t open = line.find('"'); open != std::string_view::npos;) {
        const std::size_t close = line.find('"', open + 1);
        if (close == std::string_view::npos) break;
        items.emplace_back(line.substr(open + 1, close - open - 1));
        open = line.find('"', close + 1);
    }
    return items;
}

// The data-file comment of line 3, without its quotes and line end.
std::string commentOf(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
    return std::string(line);
}

// A slave's part keeps only its own milliseconds, the seconds being the
// owner's: the slave's scan was the one nearest the owner's, so its time is
// the one within half a second of the owner's that ends in them.
double pairedTime(double ownerTime, std::uint32_t ownerMilliseconds, std::uint32_t milliseconds) {
    const double time = ownerTime - ownerMilliseconds + milliseconds;
    if (time - ownerTime > kHalfSecond) return time - kSecond;
    if (ownerTime - time > kHalfSecond) return time + kSecond;
    return time;
}

// One instrument of the file: where its part of a merged record lies, and
// its data set.
struct ConvertedInstrument {
    unsigned bcn = 0;
    std::string dataSetName;
    std::size_t offset = 0;
    std::size_t size = 0;
    std::size_t channels = 0;
    std::vector<TrendLinkTag> tags; // its columns, in the order of its values
    TBaseDataSet dataSet = nullptr;
    bool tagsAdded = false;
    // Kept between writes for their capacity.
    std::vector<double> times;
    std::vector<float> values;
};

// The instruments of a header whose column names (line 6) match its column
// counts: each instrument's channels, then its DIO, TOTAL, ALARM1 and ALARM2,
// the owner's behind the TIME column. Nothing for any other header.
std::optional<std::vector<ConvertedInstrument>> instrumentsOf(const BinaryFileHeader &header, const std::string &name) {
    const BinaryRecordLayout &layout = header.layout;
    const std::vector<std::string> names = quotedItems(header.lines[kColumnNamesLine]);
    const std::vector<std::string> titles = quotedItems(header.lines[kColumnTitlesLine]);
    std::size_t columns = kTimeColumns;
    for (const std::size_t channels : layout.channels) columns += channels + std::size(kFurtherTags);
    if (names.size() != columns) return std::nullopt;
    const bool unitsKnown = titles.size() == names.size();

    std::vector<ConvertedInstrument> instruments(layout.channels.size());
    std::size_t column = kTimeColumns;
    for (std::size_t index = 0; index < instruments.size(); ++index) {
        ConvertedInstrument &instrument = instruments[index];
        instrument.offset = layout.partOffset(index);
        instrument.size = layout.partSize(index);
        instrument.channels = layout.channels[index];
        for (std::size_t channel = 0; channel < instrument.channels; ++channel, ++column) {
            const std::string units = unitsKnown ? cut(titles[column], TBASE_MAX_UNITS) : std::string();
            instrument.tags.push_back({names[column], "", units});
        }
        instrument.bcn = tagBcn(names[column]);
        if (instrument.bcn == 0) return std::nullopt;
        for (const FurtherTag tag : kFurtherTags)
            instrument.tags.push_back({names[column++], furtherTagDescription(tag), ""});
        const GroupRole role =
            instruments.size() == 1 ? GroupRole::Async : (index == 0 ? GroupRole::Master : GroupRole::Slave);
        instrument.dataSetName = instrumentDataSetName(name, role, instrument.bcn);
    }
    return instruments;
}

class TrendLinkConversionTarget final : public BinaryConversionTarget {
public:
    TrendLinkConversionTarget(const ConversionFiles &files, const ConversionContext &context)
            : source_(files.source), given_(files.target), ui_(context.ui), trendLink_(context.trendLink) {
        std::error_code error;
        path_ = std::filesystem::absolute(files.target, error).lexically_normal().string();
        name_ = dataSetName(path_);
        directory_ = dataSetDirectory(path_);
    }
    ~TrendLinkConversionTarget() override { close(); }
    TrendLinkConversionTarget(const TrendLinkConversionTarget &) = delete;
    TrendLinkConversionTarget &operator=(const TrendLinkConversionTarget &) = delete;

    // Nothing is made before the source's header has been read.
    bool create() override {
        std::error_code error;
        if (uncPath(given_)) return refuse(ui_, resourceString(message::kTrendLinkUncPath));
        // The pointer file must not replace the file being read.
        if (std::filesystem::equivalent(source_, path_, error))
            return refuse(ui_, messageNaming(message::kCannotCreateFile, given_));
        if (trendLink_ == nullptr) return refuse(ui_, resourceString(message::kTrendLinkNotLoaded));
        return trendLink_->load();
    }

    // A source that cannot be stored leaves nothing registered; a data set
    // that holds values already is not touched.
    ConversionFlow begin(const BinaryFileHeader &header) override {
        std::optional<std::vector<ConvertedInstrument>> instruments = instrumentsOf(header, name_);
        if (!instruments) {
            refuse(messageNaming(message::kInvalidBinaryFile, source_));
            return ConversionFlow::Stopped;
        }
        instruments_ = std::move(*instruments);
        recordSize_ = header.layout.recordSize();
        const std::string comment = commentOf(header.lines[kCommentLine]);
        if (!roomOnDisk() || !dataSetDirectoryMade(*trendLink_, directory_) || !dataSetsOpened(comment) ||
            !pointerFileWritten(*trendLink_, path_, name_, directory_) || !chartMade(comment) || !tagsAdded())
            return ConversionFlow::Stopped;
        return ConversionFlow::Continue;
    }

    ConversionFlow write(const char *records, std::size_t count) override {
        for (ConvertedInstrument &instrument : instruments_) {
            instrument.times.resize(count);
            instrument.values.resize(count * instrument.tags.size());
        }
        for (std::size_t index = 0; index < count; ++index) takeRecord(records + index * recordSize_, index);
        TrendLinkLibrary &library = trendLink_->library();
        for (ConvertedInstrument &instrument : instruments_) {
            if (library.updateAllTags(instrument.dataSet, static_cast<int>(count), instrument.times.data(),
                                      instrument.values.data()) == -1) {
                // Spelled as this message has always spelled it, for those who look for it.
                trendLink_->showFunctionFailure(instrument.bcn, "TBaseUpdataAllTags");
                return ConversionFlow::Stopped;
            }
            if (!storeQueuedValues(*trendLink_, instrument.dataSet, StoreUntil::Stored)) return storeFailed(instrument);
        }
        return ConversionFlow::Continue;
    }

    // What was stored stays, in a rolled-over file of its own.
    bool close() override {
        bool closed = true;
        for (ConvertedInstrument &instrument : instruments_) {
            if (instrument.dataSet == nullptr) continue;
            TrendLinkLibrary &library = trendLink_->library();
            if (instrument.tagsAdded) {
                closed = storeQueuedValues(*trendLink_, instrument.dataSet, StoreUntil::Stored) &&
                         library.rollOverNowFile(instrument.dataSet, 1) == 0 &&
                         storeQueuedValues(*trendLink_, instrument.dataSet, StoreUntil::RolledOver) && closed;
            }
            closed = library.closeDataSet(instrument.dataSet, instrument.tagsAdded ? 1 : 0) == 0 && closed;
            instrument.dataSet = nullptr;
        }
        return closed;
    }

private:
    static bool refuse(UserInterface &ui, const std::string &text) {
        ui.showMessage(text, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    // Once the historian is loaded, its messages go where all of its go.
    bool refuse(const std::string &text) { return refuse(trendLink_->ui(), text); }

    // The data sets take at least the room of the source's records.
    bool roomOnDisk() {
        const std::optional<std::uint64_t> free = trendLink_->freeDiskSpace().freeBytes(path_);
        if (!free) return refuse(driveMessage(message::kTrendLinkDriveUnreadable, path_));
        std::error_code error;
        const std::uintmax_t needed = std::filesystem::file_size(source_, error);
        if (*free <= (error ? 0 : needed)) return refuse(driveMessage(message::kTrendLinkNoRoomForFiles, path_));
        return true;
    }

    // Every data set is registered and opened, and found without values,
    // before any of them gets its tags.
    bool dataSetsOpened(const std::string &comment) {
        TrendLinkLibrary &library = trendLink_->library();
        const bool grouped = instruments_.size() > 1;
        for (ConvertedInstrument &instrument : instruments_) {
            if (!dataSetRegistered(*trendLink_, instrument.dataSetName, directory_, grouped, instrument.bcn))
                return false;
            instrument.dataSet = library.openDataSet(instrument.dataSetName, cut(comment, kDataSetDescriptionLength));
            if (instrument.dataSet == nullptr) return fail(instrument, "TBaseOpenDataSet");
            std::string nowFile;
            std::int64_t nowFileSize = 0;
            if (library.getNowInformation(instrument.dataSet, nowFile, nowFileSize) < 0)
                return fail(instrument, "TBaseGetNOWInformation");
            if (fileExists(nowFile)) return refuse(resourceString(message::kTrendLinkNowFileExists));
        }
        return true;
    }

    // The chart shows the first channels of the file, the owner's first.
    bool chartMade(const std::string &title) {
        ChartFileRequest request = chartFileRequest(*trendLink_, path_, title);
        for (const ConvertedInstrument &instrument : instruments_) {
            for (std::size_t channel = 0; channel < instrument.channels; ++channel)
                request.curves.push_back({instrument.dataSetName + ":" + instrument.tags[channel].name, false});
        }
        return chartFileMade(*trendLink_, request);
    }

    bool tagsAdded() {
        TrendLinkLibrary &library = trendLink_->library();
        for (ConvertedInstrument &instrument : instruments_) {
            for (const TrendLinkTag &tag : instrument.tags) {
                if (!tagAdded(*trendLink_, instrument.dataSet, tag, instrument.bcn)) return false;
            }
            instrument.tagsAdded = true;
            // The values of a scan follow the update order: it must be the tags above.
            if (library.getNumUpdateTags(instrument.dataSet) != static_cast<int>(instrument.tags.size()))
                return fail(instrument, "TBaseGetNumUpdateTags");
        }
        return true;
    }

    bool fail(const ConvertedInstrument &instrument, const char *function) {
        trendLink_->showFunctionFailure(instrument.bcn, function);
        return false;
    }

    // A full disk is a failed write like that of any other conversion.
    ConversionFlow storeFailed(const ConvertedInstrument &instrument) {
        if (trendLink_->diskFull()) return ConversionFlow::WriteFailed;
        fail(instrument, "TBaseWriteProcessing");
        return ConversionFlow::Stopped;
    }

    // The values of one merged record, each instrument's at its own time.
    void takeRecord(const char *record, std::size_t index) {
        ScanRecord scan{};
        std::memcpy(&scan, record, instruments_.front().size);
        const double ownerTime = trendLinkTime(scan, daylight_, trendLink_->library());
        const std::uint32_t ownerMilliseconds = scanMilliseconds(scan);
        for (std::size_t part = 0; part < instruments_.size(); ++part) {
            ConvertedInstrument &instrument = instruments_[part];
            if (part > 0) {
                std::memcpy(reinterpret_cast<char *>(&scan) + kScanTimePrefixSize, record + instrument.offset,
                            instrument.size);
            }
            instrument.times[index] =
                part == 0 ? ownerTime : pairedTime(ownerTime, ownerMilliseconds, scanMilliseconds(scan));
            scanValues(scan, instrument.channels, instrument.values.data() + index * instrument.tags.size());
        }
    }

    std::string source_;
    std::string given_; // the target as the user named it
    std::string path_;  // the pointer file
    std::string name_;
    std::string directory_;
    UserInterface &ui_;
    TrendLinkInterface *trendLink_;
    std::vector<ConvertedInstrument> instruments_; // the owner's, then each slave's
    std::size_t recordSize_ = 0;
    DaylightStates daylight_; // of the whole file, as of one logging run
};

} // namespace

std::unique_ptr<BinaryConversionTarget> makeTrendLinkConversionTarget(const ConversionFiles &files,
                                                                      const ConversionContext &context) {
    return std::make_unique<TrendLinkConversionTarget>(files, context);
}

} // namespace korvel
