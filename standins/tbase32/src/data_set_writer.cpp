#include "data_set_writer.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "data_set_reader.h"
#include "free_space.h"
#include "store_error.h"
#include "tbase32.h"

namespace tbase {

DataSetWriter::DataSetWriter(DataSetFiles files, const std::string &description)
        : files_(std::move(files)), lock_(files_.lockPath()), key_(files_.keyPath(), true) {
    if (!description.empty()) key_.setDescription(description);
    if (fileExists(files_.nowPath())) now_ = ValueFile::openForWriting(files_.nowPath());

    DataSetReader reader(files_);
    for (const TagInfo &info : reader.tags()) {
        auto tag = std::make_unique<Tag>();
        tag->info = info;
        tag->lastKept = reader.newest(info);
        if (tag->lastKept) newestTime_ = std::max(newestTime_, tag->lastKept->time);
        tags_.push_back(std::move(tag));
    }
    // A batch that a program left open when it ended without closing ends after the newest value.
    for (const BatchInfo &batch : key_.batches())
        if (!batch.end) key_.endBatch(batch.id, std::max(batch.start, newestTime_ + 1.0));
}

Tag *DataSetWriter::findTag(std::string_view name) const {
    for (const auto &tag : tags_) {
        const std::string &known = tag->info.name;
        if (known.size() == name.size() && ::strncasecmp(known.data(), name.data(), name.size()) == 0) return tag.get();
    }
    return nullptr;
}

Tag &DataSetWriter::addTag(TagInfo info) {
    if (Tag *existing = findTag(info.name)) {
        // Adding a tag the data set knows (a logger starting afresh after a
        // rollover) describes it anew and keeps its values.
        requireFreeSpace(files_.directory);
        modifyTag(*existing, info);
        enable(*existing);
        return *existing;
    }
    if (tags_.size() >= TBASE_MAX_TAGS)
        fail(TBASE_E_TOO_MANY_TAGS, "Data set " + files_.name + " holds " + std::to_string(TBASE_MAX_TAGS) + " tags");
    requireFreeSpace(files_.directory);
    // A data set with tags always has its .NOW file.
    if (!now_) openNowFile();
    auto tag = std::make_unique<Tag>();
    tag->info = key_.addTag(std::move(info));
    tags_.push_back(std::move(tag));
    enable(*tags_.back());
    return *tags_.back();
}

void DataSetWriter::modifyTag(Tag &tag, const TagInfo &changes) {
    TagInfo info = changes;
    info.id = tag.info.id;
    info.name = tag.info.name;
    key_.modifyTag(info);
    tag.info = std::move(info);
}

void DataSetWriter::enable(Tag &tag) {
    if (tag.enabled) return;
    tag.enabled = true;
    updateOrder_.push_back(&tag);
}

void DataSetWriter::disable(Tag &tag) {
    tag.enabled = false;
    updateOrder_.erase(std::remove(updateOrder_.begin(), updateOrder_.end(), &tag), updateOrder_.end());
}

void DataSetWriter::disableAll() {
    for (Tag *tag : updateOrder_) tag->enabled = false;
    updateOrder_.clear();
}

void DataSetWriter::openNowFile() {
    now_ = ValueFile::openForWriting(files_.nowPath());
    syncDirectory(files_.directory);
}

std::int64_t DataSetWriter::nowFileSize() { return now_ ? now_->sizeInBytes() : 0; }

void DataSetWriter::addBatch(const std::string &name, double start) {
    if (!std::isfinite(start)) fail(TBASE_E_ARGUMENT, "A batch's start is not a finite number");
    if (openBatch_) fail(TBASE_E_BATCH_OPEN, "Batch " + openBatch_->name + " is still open in data set " + files_.name);
    openBatch_ = BatchInfo{key_.addBatch(name, start), name, start, std::nullopt};
}

void DataSetWriter::endBatch(double start, double end) {
    if (!openBatch_ || openBatch_->start != start)
        fail(TBASE_E_NO_BATCH_OPEN, "No batch that began at that time is open in data set " + files_.name);
    if (!(end >= start)) fail(TBASE_E_ARGUMENT, "A batch cannot end before it began");
    key_.endBatch(openBatch_->id, end);
    openBatch_.reset();
}

void DataSetWriter::finish(bool storeQueued) {
    constexpr int kRolloverAttempts = 25; // each waits a moment for readers of the .NOW file
    if (storeQueued) {
        for (int attempt = 0; process(); ++attempt)
            if (attempt >= kRolloverAttempts)
                fail(TBASE_E_DATA_SET_IN_USE, "A reader kept " + files_.nowPath() + " from being rolled over");
    }
    if (!tags_.empty() && !fileExists(files_.nowPath())) {
        now_.reset();
        openNowFile();
    }
}

} // namespace tbase
