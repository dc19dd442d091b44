// The values side of DataSetWriter: the deadband, the queue and its storing,
// and the rollover of the .NOW file.
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "data_set_writer.h"
#include "free_space.h"
#include "store_error.h"
#include "tbase32.h"

namespace tbase {
namespace {

constexpr std::size_t kValuesPerProcessing = 50000;
constexpr int kBackgroundRolloverWaitMs = 200; // keeps a logging tick short while a reader is inside the file
constexpr int kRolloverWaitMs = 5000;

void checkTime(double time) {
    if (!std::isfinite(time)) fail(TBASE_E_ARGUMENT, "A value's time is not a finite number");
}

void checkValue(double value, const Tag &tag) {
    if (std::isnan(value)) fail(TBASE_E_ARGUMENT, "Tag " + tag.info.name + " was given NaN");
}

} // namespace

bool DataSetWriter::worthKeeping(const Tag &tag, TimedValue value) const {
    if (!tag.lastKept) return true;
    const double band = tag.info.deadband * tuning_.deadbandScale;
    if (!(band > 0.0)) return true;
    if (std::fabs(value.value - tag.lastKept->value) > band) return true;
    return tuning_.longestUnstoredTime > 0.0 && value.time - tag.lastKept->time >= tuning_.longestUnstoredTime;
}

void DataSetWriter::keep(Tag &tag, TimedValue value) {
    tag.current = value;
    tag.currentKept = worthKeeping(tag, value);
    if (!tag.currentKept) return;
    queue_.push_back(QueuedValue{tag.info.id, value.time, value.value});
    tag.lastKept = value;
}

void DataSetWriter::update(Tag &tag, double time, double value) {
    if (!tag.enabled) fail(TBASE_E_TAG_DISABLED, "Logging of tag " + tag.info.name + " is disabled");
    checkTime(time);
    checkValue(value, tag);
    if (queue_.size() >= TBASE_MAX_QUEUED)
        fail(TBASE_E_QUEUE_FULL, "Values of data set " + files_.name + " wait to be stored: call TBaseWriteProcessing");
    keep(tag, TimedValue{time, value});
}

void DataSetWriter::updateAll(int scanCount, const double *times, const float *values) {
    const std::size_t scans = static_cast<std::size_t>(scanCount);
    const std::size_t perScan = updateOrder_.size();
    for (std::size_t scan = 0; scan < scans; ++scan) {
        checkTime(times[scan]);
        for (std::size_t i = 0; i < perScan; ++i) checkValue(values[scan * perScan + i], *updateOrder_[i]);
    }
    if (queue_.size() + scans * perScan > TBASE_MAX_QUEUED)
        fail(TBASE_E_QUEUE_FULL, "Values of data set " + files_.name + " wait to be stored: call TBaseWriteProcessing");
    for (std::size_t scan = 0; scan < scans; ++scan)
        for (std::size_t i = 0; i < perScan; ++i)
            keep(*updateOrder_[i], TimedValue{times[scan], values[scan * perScan + i]});
}

void DataSetWriter::triggerAll() {
    for (Tag *tag : updateOrder_) {
        if (!tag->current || tag->currentKept) continue;
        queue_.push_back(QueuedValue{tag->info.id, tag->current->time, tag->current->value});
        tag->lastKept = tag->current;
        tag->currentKept = true;
    }
}

bool DataSetWriter::process() {
    if (!queue_.empty()) {
        requireFreeSpace(files_.directory);
        if (!now_) openNowFile();
        const std::size_t count = std::min(queue_.size(), kValuesPerProcessing);
        now_->store(queue_.data(), count);
        for (std::size_t i = 0; i < count; ++i) newestTime_ = std::max(newestTime_, queue_[i].time);
        queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
    }
    if (queue_.empty() && rolloverRequested_) tryRollover(kBackgroundRolloverWaitMs);
    return !queue_.empty() || rolloverRequested_;
}

void DataSetWriter::rollOverNow() {
    requestRollover();
    while (!queue_.empty()) process();
    tryRollover(kRolloverWaitMs);
    if (rolloverRequested_) {
        rolloverRequested_ = false;
        fail(TBASE_E_DATA_SET_IN_USE, "A reader kept " + files_.nowPath() + " from being rolled over");
    }
}

void DataSetWriter::tryRollover(int waitMs) {
    if (!now_ || !now_->hasValues()) {
        rolloverRequested_ = false; // nothing to roll over
        return;
    }
    requireFreeSpace(files_.directory);
    if (!now_->leaveWriteAheadLog(waitMs)) return; // a reader is inside: the next processing tries again
    now_.reset();
    rolloverRequested_ = false;
    const std::string target = files_.rolledOverPath(files_.nextRolledOverNumber());
    const int renamed = std::rename(files_.nowPath().c_str(), target.c_str());
    const int error = errno;
    openNowFile();
    if (renamed != 0) fail(TBASE_E_FILE, fileErrorText("Cannot roll over", files_.nowPath(), error));
}

} // namespace tbase
