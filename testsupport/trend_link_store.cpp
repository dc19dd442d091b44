#include "trend_link_store.h"

#include <tbase32.h>

#include <cmath>
#include <stdexcept>

namespace kvtest {
namespace {

constexpr int kChunk = 4096;
constexpr int kNameSize = 256;

// Opens a data set for reading its tags and batches, and closes it again
// without storing anything.
class ClosedDataSet {
public:
    explicit ClosedDataSet(const std::string &name) : handle_(TBaseOpenDataSet(name.c_str(), "")) {
        if (handle_ == nullptr)
            throw std::runtime_error("cannot open data set " + name + ": " + TBaseGetLastErrorString());
    }
    ~ClosedDataSet() { TBaseCloseDataSet(handle_, 0); }
    ClosedDataSet(const ClosedDataSet &) = delete;
    ClosedDataSet &operator=(const ClosedDataSet &) = delete;

    TBaseDataSet get() const { return handle_; }

private:
    TBaseDataSet handle_;
};

} // namespace

std::string trendLinkDirectory() { return TREND_LINK_DIRECTORY; }

std::vector<StoredValue> storedValues(const std::string &dataSet, const std::string &tag) {
    std::vector<StoredValue> values;
    std::vector<double> times(kChunk), read(kChunk);
    double after = -INFINITY;
    for (;;) {
        const int count =
            TBaseFetchData(dataSet.c_str(), tag.c_str(), after, INFINITY, times.data(), read.data(), kChunk);
        if (count < 0)
            throw std::runtime_error("cannot read " + dataSet + ":" + tag + ": " + TBaseGetLastErrorString());
        for (int i = 0; i < count; ++i)
            values.push_back({times[static_cast<std::size_t>(i)], read[static_cast<std::size_t>(i)]});
        if (count < kChunk) return values;
        after = values.back().time;
    }
}

std::vector<double> valuesOf(const std::string &dataSet, const std::string &tag) {
    std::vector<double> values;
    for (const StoredValue &stored : storedValues(dataSet, tag)) values.push_back(stored.value);
    return values;
}

std::vector<double> timesOf(const std::string &dataSet, const std::string &tag) {
    std::vector<double> times;
    for (const StoredValue &stored : storedValues(dataSet, tag)) times.push_back(stored.time);
    return times;
}

std::vector<StoredBatch> storedBatches(const std::string &dataSet) {
    const ClosedDataSet open(dataSet);
    std::vector<StoredBatch> batches;
    char name[kNameSize];
    StoredBatch batch;
    for (int found = TBaseGetFirstBatchInfo(open.get(), name, kNameSize, &batch.start, &batch.end); found == 1;
         found = TBaseGetNextBatchInfo(open.get(), name, kNameSize, &batch.start, &batch.end)) {
        batch.name = name;
        batches.push_back(batch);
    }
    return batches;
}

std::vector<std::string> storedTags(const std::string &dataSet) {
    const ClosedDataSet open(dataSet);
    std::vector<std::string> tags;
    char name[kNameSize];
    for (int found = TBaseGetFirstTagName(open.get(), name, kNameSize); found == 1;
         found = TBaseGetNextTagName(open.get(), name, kNameSize))
        tags.push_back(name);
    return tags;
}

} // namespace kvtest
