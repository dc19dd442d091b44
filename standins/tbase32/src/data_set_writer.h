// A data set opened for writing: its tags and the order in which a scan's
// values come, the queue of values waiting to be stored, the .NOW file and
// its rollover, and the batches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data_set_files.h"
#include "key_file.h"
#include "value_file.h"

namespace tbase {

// What the tuning block sets for every tag.
struct Tuning {
    double deadbandScale = 1.0;
    double longestUnstoredTime = 0.0; // ms; 0: a value within the deadband waits for ever
};

// The object behind a TBaseTag handle.
struct Tag {
    TagInfo info;
    bool enabled = false;
    std::optional<TimedValue> lastKept; // the newest value stored or queued
    std::optional<TimedValue> current;  // the last value given
    bool currentKept = false;
};

class DataSetWriter {
public:
    // Locks the data set (TBASE_E_DATA_SET_IN_USE), opens or creates its KEY
    // file in files.directory, and learns each tag's newest value.
    DataSetWriter(DataSetFiles files, const std::string &description);

    const DataSetFiles &files() const { return files_; }

    // ---- tags
    const std::vector<std::unique_ptr<Tag>> &tags() const { return tags_; }
    Tag *findTag(std::string_view name) const;
    Tag &addTag(TagInfo info);
    void modifyTag(Tag &tag, const TagInfo &changes);
    void enable(Tag &tag);
    void disable(Tag &tag);
    void disableAll();
    std::size_t updateTagCount() const { return updateOrder_.size(); }
    const Tuning &tuning() const { return tuning_; }
    void setTuning(const Tuning &tuning) { tuning_ = tuning; }
    void triggerAll();

    // ---- values
    void update(Tag &tag, double time, double value);
    void updateAll(int scanCount, const double *times, const float *values);
    // Stores a share of the queue and carries out a rollover asked for; true while work remains.
    bool process();
    double newestTime() const { return newestTime_; }

    // ---- the .NOW file
    std::int64_t nowFileSize();
    void requestRollover() { rolloverRequested_ = true; }
    bool rolloverInProgress() const { return rolloverRequested_; }
    // Rolls over before returning; throws TBASE_E_DATA_SET_IN_USE when a reader keeps holding the file.
    void rollOverNow();

    // ---- batches
    std::vector<BatchInfo> batches() { return key_.batches(); }
    void addBatch(const std::string &name, double start);
    void endBatch(double start, double end);

    // Before closing: stores the queue when asked to, and gives a data set
    // with tags the .NOW file it lost (a rollover cut short).
    void finish(bool storeQueued);

private:
    void openNowFile();
    void keep(Tag &tag, TimedValue value);
    bool worthKeeping(const Tag &tag, TimedValue value) const;
    void tryRollover(int waitMs);

    DataSetFiles files_;
    DataSetLock lock_;
    KeyFile key_;
    std::unique_ptr<ValueFile> now_;
    std::vector<std::unique_ptr<Tag>> tags_;
    std::vector<Tag *> updateOrder_;
    std::vector<QueuedValue> queue_;
    Tuning tuning_;
    double newestTime_ = 0.0;
    bool rolloverRequested_ = false;
    std::optional<BatchInfo> openBatch_;
};

} // namespace tbase
