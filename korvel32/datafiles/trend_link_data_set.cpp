#include "datafiles/trend_link_data_set.h"

#include "datafiles/scan_batch.h"
#include "datafiles/trend_link_messages.h"
#include "datafiles/trend_link_names.h"
#include "datafiles/trend_link_registry.h"
#include "datafiles/trend_link_time.h"
#include "datafiles/trend_link_writing.h"
#include "platform/file_exists.h"
#include "platform/string_table.h"
#include "setup/scan_fields.h"
#include "setup/text_format.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace korvel {
namespace {

constexpr double kMillisecondsPerSecond = 1000.0;
constexpr char kKeyFileExtension[] = ".KEY";
// Values within a tag's deadband are stored anyway after 2 seconds.
constexpr TBaseTagTuning kTuning{1.0f, 2000.0};
constexpr int kTuningWords = 3;

// The start of the hour of the day after that of second, days later.
std::int64_t hourStart(std::int64_t second, int days, std::uint32_t hour) {
    std::tm local = localTimeOf(second);
    local.tm_mday += days;
    local.tm_hour = static_cast<int>(hour);
    local.tm_min = local.tm_sec = 0;
    local.tm_isdst = -1;
    return calendarSecondsOf(local);
}

// Whether the rollover the setup asks for has come due since the newest
// stored values: then the run begins in a new .NOW file.
bool rolloverDueSince(const DataFileSetup &setup, std::int64_t nowFileSize, double newestTime, std::int64_t now) {
    const auto newest = static_cast<std::int64_t>(newestTime / kMillisecondsPerSecond);
    switch (setup.rolloverMode) {
        case RolloverMode::FileSize: return nowFileSize >= std::int64_t{setup.rolloverValue} * 1000;
        case RolloverMode::TimeInterval: return now - newest >= std::int64_t{setup.rolloverValue};
        case RolloverMode::HourOfDay: {
            std::int64_t next = hourStart(newest, 0, setup.rolloverValue);
            if (next <= newest) next = hourStart(newest, 1, setup.rolloverValue);
            return next <= now;
        }
        case RolloverMode::None: break;
    }
    return false;
}

} // namespace

TrendLinkDataSet::TrendLinkDataSet(TrendLinkInterface &trendLink, const InstrumentPart &part, std::string name,
                                   const DataFileSetup &settings)
        : trendLink_(trendLink), library_(trendLink.library()), part_(part), settings_(settings),
          name_(std::move(name)), tags_(instrumentTags(part)) {}

TrendLinkDataSet::~TrendLinkDataSet() { close(); }

bool TrendLinkDataSet::registerIn(const std::string &directory, bool grouped) {
    directory_ = directory;
    return dataSetRegistered(trendLink_, name_, directory, grouped, bcn());
}

bool TrendLinkDataSet::refuse(const std::string &text) {
    trendLink_.showMessage(text);
    close();
    return false;
}

bool TrendLinkDataSet::fail(const char *function) {
    trendLink_.showFunctionFailure(bcn(), function);
    close();
    return false;
}

// A store refused for want of disk space says so; any other failure names the function.
bool TrendLinkDataSet::failStoring() {
    if (trendLink_.diskFull()) return refuse(instrumentMessage(message::kTrendLinkDiskFull, bcn()));
    return fail("TBaseWriteProcessing");
}

bool TrendLinkDataSet::open(const std::string &description, CalendarTime now) {
    dataSet_ = library_.openDataSet(name_, cut(description, kDataSetDescriptionLength));
    if (dataSet_ == nullptr) {
        trendLink_.showFunctionFailure(bcn(), "TBaseOpenDataSet");
        return false;
    }
    const int tagCount = library_.getTagCount(dataSet_);
    if (tagCount < 0) return fail("TBaseGetTagCount");
    bool takenOver = false;
    if (tagCount >= 1 && !checkExisting(now, takenOver)) return false;
    if (!prepareTags(takenOver)) return false;
    if (!library_.hasBatches()) return true;
    batches_.emplace(library_, settings_);
    if (!batches_->start(dataSet_, now.seconds)) return refuse(resourceString(message::kTrendLinkBatchesCorrupted));
    return true;
}

// A data set that holds tags must be this instrument's, with its .NOW file,
// and older than the PC's clock. It is taken over as it is, unless the
// setup's rollover has come due since its newest values.
bool TrendLinkDataSet::checkExisting(CalendarTime now, bool &takenOver) {
    std::string nowFile;
    std::int64_t nowFileSize = 0;
    if (library_.getNowInformation(dataSet_, nowFile, nowFileSize) < 0) return fail("TBaseGetNOWInformation");
    if (!fileExists(nowFile)) return refuse(instrumentMessage(message::kTrendLinkNowFileMissing, bcn()));
    std::string firstTag;
    if (library_.getFirstTagName(dataSet_, firstTag) < 0) return fail("TBaseGetFirstTagName");
    if (const unsigned owner = tagBcn(firstTag); owner != bcn())
        return refuse(
            filledIn(instrumentMessage(message::kTrendLinkForeignDataSet, bcn()), "%02u", {formatted("%02u", owner)}));
    const double newest = library_.getNewestTime(dataSet_);
    if (newest < 0.0) return fail("TBaseGetNewestTime");
    const double pcTime = trendLinkTime(now);
    if (pcTime <= newest) {
        const long wait = static_cast<long>((newest - pcTime) / kMillisecondsPerSecond) + 1;
        return refuse(
            filledIn(instrumentMessage(message::kTrendLinkPcTimeEarlier, bcn()), "%ld", {std::to_string(wait)}));
    }
    takenOver = !rolloverDueSince(settings_, nowFileSize, newest, now.seconds);
    return takenOver || rollOverFirst(nowFile);
}

// The rollover copies the data set's files, so the disk must hold at least
// its KEY file once more.
bool TrendLinkDataSet::rollOverFirst(const std::string &nowFile) {
    std::error_code error;
    const std::uintmax_t keySize =
        std::filesystem::file_size(std::filesystem::path(nowFile).replace_extension(kKeyFileExtension), error);
    const std::optional<std::uint64_t> free = trendLink_.freeDiskSpace().freeBytes(directory_);
    if (!free || *free <= (error ? 0 : keySize))
        return refuse(driveMessage(message::kTrendLinkNoRoomForFiles, directory_));
    if (library_.rollOverNowFile(dataSet_, 1) != 0) return fail("TBaseRollOverNOWFile");
    return store(StoreUntil::RolledOver) || failStoring();
}

bool TrendLinkDataSet::prepareTags(bool takenOver) {
    const std::size_t channelTags = tags_.size() - std::size(kFurtherTags);
    for (std::size_t index = 0; index < tags_.size(); ++index) {
        // The further tags go together: without the first of them all are added anew.
        if (index == channelTags)
            takenOver = takenOver && library_.enableTagLogging(dataSet_, tags_[index].name) != nullptr;
        if (!enableOrAdd(tags_[index], takenOver)) return false;
    }
    // The values of a scan follow the update order: it must be the tags above.
    if (library_.getNumUpdateTags(dataSet_) != static_cast<int>(tags_.size())) return fail("TBaseGetNumUpdateTags");
    if (library_.triggerAllTags(dataSet_) == -1) return fail("TBaseTriggerAllTags");
    if (!store(StoreUntil::Stored)) return failStoring();
    if (library_.setAllTagTuning(dataSet_, kTuning, kTuningWords) != 0) return fail("TBaseSetAllTagTuning");
    return true;
}

bool TrendLinkDataSet::enableOrAdd(const TrendLinkTag &tag, bool takenOver) {
    const TBaseTag existing = takenOver ? library_.enableTagLogging(dataSet_, tag.name) : nullptr;
    if (existing == nullptr) return add(tag);
    if (library_.modifyTagInfo(existing, tag.description, tag.units, tag.high, tag.low, tag.deadband) != 0)
        return fail("TBaseModifyTagInfo");
    return true;
}

bool TrendLinkDataSet::add(const TrendLinkTag &tag) {
    if (tagAdded(trendLink_, dataSet_, tag, bcn())) return true;
    close();
    return false;
}

DataSetWrite TrendLinkDataSet::write(const ScanBatch &batch, DaylightStates &daylight) {
    if (dataSet_ == nullptr) return DataSetWrite::Failed;
    const auto count = static_cast<std::size_t>(std::max(batch.header().count, 0));
    if (count == 0) return DataSetWrite::Written;
    const std::size_t valuesPerScan = tags_.size();
    const std::size_t channels = part_.channels.size();
    times_.resize(count);
    values_.resize(count * valuesPerScan);
    dio_.resize(count);
    for (std::size_t scan = 0; scan < count; ++scan) {
        const ScanRecord record = batch.record(static_cast<int>(scan));
        times_[scan] = trendLinkTime(record, daylight, library_);
        dio_[scan] = scanDigitalIo(record);
        scanValues(record, channels, values_.data() + scan * valuesPerScan);
    }
    if (library_.updateAllTags(dataSet_, static_cast<int>(count), times_.data(), values_.data()) == -1 ||
        library_.writeProcessing(dataSet_) == -1)
        return DataSetWrite::Failed;
    if (batches_ && !batches_->afterWrite(dataSet_, times_, dio_)) return DataSetWrite::Broken;
    return DataSetWrite::Written;
}

bool TrendLinkDataSet::storeQueued() { return dataSet_ != nullptr && store(StoreUntil::Stored); }

std::optional<std::int64_t> TrendLinkDataSet::nowFileSize() {
    std::string path;
    std::int64_t size = 0;
    if (dataSet_ == nullptr || library_.getNowInformation(dataSet_, path, size) < 0) return std::nullopt;
    return size;
}

bool TrendLinkDataSet::rollOver() {
    if (dataSet_ == nullptr) return false;
    return library_.rollOverInProgress(dataSet_) == 1 || library_.rollOverNowFile(dataSet_, 1) == 0;
}

bool TrendLinkDataSet::close() {
    if (dataSet_ == nullptr) return true;
    bool closed = store(StoreUntil::RolledOver);
    closed = library_.triggerAllTags(dataSet_) != -1 && store(StoreUntil::Stored) && closed;
    if (batches_ && batches_->batchOpen()) {
        const double newest = library_.getNewestTime(dataSet_);
        closed = newest >= 0.0 && batches_->finish(dataSet_, newest) && closed;
    }
    closed = library_.closeDataSet(dataSet_, 1) == 0 && closed;
    dataSet_ = nullptr;
    batches_.reset();
    return closed;
}

} // namespace korvel
