#include "datafiles/trend_link_batches.h"

#include "datafiles/trend_link_library.h"
#include "datafiles/trend_link_names.h"
#include "datafiles/trend_link_time.h"

#include <algorithm>
#include <charconv>

namespace korvel {
namespace {

constexpr double kMillisecondsPerMinute = 60'000.0;
constexpr double kOneMillisecond = 1.0;
constexpr unsigned kDioLines = 8;

// The number after the last ':' of a batch's name; nullopt without one.
std::optional<unsigned> numberOf(const std::string &name) {
    const std::size_t colon = name.rfind(':');
    if (colon == std::string::npos) return std::nullopt;
    unsigned number = 0;
    const char *first = name.data() + colon + 1;
    const char *last = name.data() + name.size();
    if (std::from_chars(first, last, number).ec != std::errc{}) return std::nullopt;
    return number;
}

} // namespace

TrendLinkBatches::TrendLinkBatches(TrendLinkLibrary &library, const DataFileSetup &settings)
        : library_(library), settings_(settings), nameBase_(batchNameBase(settings.batchName, settings.path)) {}

std::optional<unsigned> TrendLinkBatches::lastListedNumber(TBaseDataSet dataSet, bool &readable) {
    std::string name;
    double start = 0.0;
    double end = 0.0;
    std::optional<std::string> last;
    for (int listed = library_.getFirstBatchInfo(dataSet, name, start, end); listed != 0;
         listed = library_.getNextBatchInfo(dataSet, name, start, end)) {
        if (listed < 0) {
            readable = false;
            return std::nullopt;
        }
        last = name;
    }
    readable = true;
    return last ? numberOf(*last) : std::nullopt;
}

bool TrendLinkBatches::start(TBaseDataSet dataSet, std::int64_t now) {
    bool readable = false;
    const std::optional<unsigned> last = lastListedNumber(dataSet, readable);
    if (!readable) return false;
    // A rollover begins the numbering again.
    nextNumber_ = last && library_.rollOverInProgress(dataSet) != 1 ? *last + 1 : 1;
    openStart_.reset();
    periodStart_.reset();
    if (static_cast<BatchType>(settings_.batchType) == BatchType::PeriodicFromTimeOfDay)
        periodStart_ = nextTimeOfDay(now, settings_.batchStart, library_);
    return true;
}

bool TrendLinkBatches::begin(TBaseDataSet dataSet, double time) {
    const std::string name = nameBase_ + ":" + std::to_string(nextNumber_++);
    if (library_.addBatch(dataSet, name, time) != 0) return false;
    openStart_ = time;
    return true;
}

bool TrendLinkBatches::end(TBaseDataSet dataSet, double time) {
    const double start = *openStart_;
    openStart_.reset();
    return library_.endBatch(dataSet, start, std::max(start, time)) == 0;
}

// Each period that has begun by the newest scan ends the batch before it and
// begins its own.
bool TrendLinkBatches::startPeriods(TBaseDataSet dataSet, double newestTime) {
    const double period = settings_.batchPeriod * kMillisecondsPerMinute;
    if (period <= 0.0) return true; // no period, no batches
    while (*periodStart_ <= newestTime) {
        if (batchOpen() && !end(dataSet, *periodStart_ - kOneMillisecond)) return false;
        if (!begin(dataSet, *periodStart_)) return false;
        *periodStart_ += period;
    }
    return true;
}

bool TrendLinkBatches::afterWrite(TBaseDataSet dataSet, std::span<const double> times,
                                  std::span<const std::uint8_t> dio) {
    if (times.empty()) return true;
    switch (static_cast<BatchType>(settings_.batchType)) {
        case BatchType::Run: return batchOpen() || begin(dataSet, times.front());
        case BatchType::DioLow:
            for (std::size_t scan = 0; scan < times.size(); ++scan) {
                // A line the instrument does not have never goes low.
                const bool high = settings_.batchDioLine >= kDioLines || ((dio[scan] >> settings_.batchDioLine) & 1u);
                if (!batchOpen() && !high && !begin(dataSet, times[scan])) return false;
                if (batchOpen() && high && !end(dataSet, times[scan] - kOneMillisecond)) return false;
            }
            return true;
        case BatchType::Periodic:
            if (!periodStart_) periodStart_ = times.front();
            return startPeriods(dataSet, *std::max_element(times.begin(), times.end()));
        case BatchType::PeriodicFromTimeOfDay:
            return startPeriods(dataSet, *std::max_element(times.begin(), times.end()));
    }
    return true;
}

bool TrendLinkBatches::finish(TBaseDataSet dataSet, double newestTime) {
    return !batchOpen() || end(dataSet, newestTime + kOneMillisecond);
}

} // namespace korvel
