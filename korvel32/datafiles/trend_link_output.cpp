#include "datafiles/trend_link_output.h"

#include "datafiles/trend_link_chart.h"
#include "datafiles/trend_link_messages.h"
#include "datafiles/trend_link_names.h"
#include "datafiles/trend_link_registry.h"
#include "platform/string_table.h"

namespace korvel {
namespace {

// Free space this far above the low-disk threshold warns anew when it falls again.
constexpr std::uint64_t kLowDiskRearm = 1'000'000;

std::uint64_t thresholdBytes(const DataFileSetup &settings) { return std::uint64_t{settings.lowDiskThreshold} * 1000; }

bool hasAlarm(const ChannelSetup &channel) {
    return channel.alarm1.sense != AlarmSense::Off || channel.alarm2.sense != AlarmSense::Off;
}

} // namespace

TrendLinkOutput::TrendLinkOutput(DataFileGroup group, TrendLinkInterface &trendLink, Clock &clock)
        : group_(std::move(group)), trendLink_(trendLink), clock_(clock), name_(dataSetName(settings().path)),
          directory_(dataSetDirectory(settings().path)) {
    const GroupRole ownerRole = group_.master ? GroupRole::Master : GroupRole::Async;
    dataSets_.push_back(std::make_unique<TrendLinkDataSet>(
        trendLink_, group_.owner, instrumentDataSetName(name_, ownerRole, group_.owner.bcn), settings()));
    for (const InstrumentPart &slave : group_.slaves) {
        dataSets_.push_back(std::make_unique<TrendLinkDataSet>(
            trendLink_, slave, instrumentDataSetName(name_, GroupRole::Slave, slave.bcn), settings()));
    }
}

TrendLinkOutput::~TrendLinkOutput() { close(); }

bool TrendLinkOutput::open() {
    if (!trendLink_.load() || !checkFreeSpaceAtStart()) return false;
    if (!dataSetDirectoryMade(trendLink_, directory_) || !registerDataSets() || !openDataSets() ||
        !writePointerFile() || !prepareChart()) {
        close();
        return false;
    }
    const std::int64_t now = clock_.now().seconds;
    schedules_.assign(dataSets_.size(), RolloverSchedule{});
    for (RolloverSchedule &schedule : schedules_) schedule.rolledOver(now);
    lowDiskWarned_ = false;
    open_ = true;
    return true;
}

bool TrendLinkOutput::fail(const std::string &text) {
    trendLink_.showMessage(text);
    return false;
}

// With Stop Logging as the low-disk action the disk is looked at before the
// start: a disk that cannot be asked ends it, a low one is only told.
bool TrendLinkOutput::checkFreeSpaceAtStart() {
    if (settings().lowDiskAction == 0 || settings().lowDiskThreshold == 0) return true;
    const std::optional<std::uint64_t> free = trendLink_.freeDiskSpace().freeBytes(settings().path);
    if (!free) return fail(driveMessage(message::kTrendLinkDriveUnreadable, settings().path));
    if (*free <= thresholdBytes(settings()))
        trendLink_.showMessage(driveMessage(message::kTrendLinkLowDiskAtStart, settings().path, *free));
    return true;
}

bool TrendLinkOutput::registerDataSets() {
    for (const auto &dataSet : dataSets_) {
        if (!dataSet->registerIn(directory_, group_.master)) return false;
    }
    return true;
}

bool TrendLinkOutput::openDataSets() {
    for (const auto &dataSet : dataSets_) {
        if (!dataSet->open(settings().comment, clock_.now())) return false;
    }
    return true;
}

// The data-file path holds a note telling where the data sets went.
bool TrendLinkOutput::writePointerFile() { return pointerFileWritten(trendLink_, settings().path, name_, directory_); }

bool TrendLinkOutput::prepareChart() {
    ChartFileRequest request = chartFileRequest(trendLink_, settings().path, settings().comment);
    for (const auto &dataSet : dataSets_) {
        const InstrumentPart &part = dataSet->part();
        for (const int channel : part.channels) {
            request.curves.push_back(
                {dataSet->name() + ":" + channelTagName(part.bcn, channel), hasAlarm(part.setup->channel(channel))});
        }
    }
    return chartFileMade(trendLink_, request);
}

bool TrendLinkOutput::writeBatch(unsigned bcn, const ScanBatch &batch, DaylightStates &daylight) {
    if (!open_) return false;
    for (const auto &dataSet : dataSets_) {
        if (dataSet->bcn() != bcn) continue;
        const DataSetWrite written = dataSet->write(batch, daylight);
        if (written == DataSetWrite::Broken) close();
        return written == DataSetWrite::Written;
    }
    return false;
}

std::optional<std::string> TrendLinkOutput::checkRollover(std::int64_t now) {
    if (!open_ || !checks_.pass(now)) return std::nullopt;
    std::optional<std::string> warning = checkFreeSpace(now);
    for (std::size_t index = 0; open_ && index < dataSets_.size(); ++index) {
        TrendLinkDataSet &dataSet = *dataSets_[index];
        const std::optional<std::int64_t> size = dataSet.storeQueued() ? dataSet.nowFileSize() : std::nullopt;
        const bool due = size && schedules_[index].dueNow(settings(), now, static_cast<std::uint64_t>(*size));
        if (!size || (due && !dataSet.rollOver())) close();
    }
    return warning;
}

// Low disk space is acted on once, until the disk has room again.
std::optional<std::string> TrendLinkOutput::checkFreeSpace(std::int64_t now) {
    const std::optional<std::uint64_t> free = trendLink_.freeDiskSpace().freeBytes(settings().path);
    if (!free) return std::nullopt;
    const std::uint64_t threshold = thresholdBytes(settings());
    if (*free > threshold) {
        if (*free - threshold > kLowDiskRearm) lowDiskWarned_ = false;
        return std::nullopt;
    }
    if (lowDiskWarned_) return std::nullopt;
    lowDiskWarned_ = true;
    if (settings().lowDiskAction != 0 || !rollOverAll(now)) {
        close();
        return std::nullopt;
    }
    return driveMessage(message::kTrendLinkLowDisk, settings().path, *free);
}

bool TrendLinkOutput::rollOverAll(std::int64_t now) {
    for (std::size_t index = 0; index < dataSets_.size(); ++index) {
        if (!dataSets_[index]->rollOver()) return false;
        schedules_[index].rolledOver(now);
    }
    return true;
}

bool TrendLinkOutput::close() {
    bool closed = true;
    for (const auto &dataSet : dataSets_) closed = dataSet->close() && closed;
    open_ = false;
    return closed;
}

} // namespace korvel
