// What the Trend Link stand-ins stored, read back through the historian's
// own functions, and where the stand-ins are installed by the build.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kvtest {

// The directory of libtbase32.so, libtimecn32.so, tl32 and the chart templates.
std::string trendLinkDirectory();

struct StoredValue {
    double time = 0.0; // ms since 1970 GMT
    double value = 0.0;

    bool operator==(const StoredValue &) const = default;
    friend std::ostream &operator<<(std::ostream &out, const StoredValue &stored) {
        return out << stored.value << " at " << static_cast<long long>(stored.time);
    }
};

// Every value of one tag of a registered data set, in time order.
std::vector<StoredValue> storedValues(const std::string &dataSet, const std::string &tag);

// Only the values, or only the times, of storedValues.
std::vector<double> valuesOf(const std::string &dataSet, const std::string &tag);
std::vector<double> timesOf(const std::string &dataSet, const std::string &tag);

struct StoredBatch {
    std::string name;
    double start = 0.0;
    double end = 0.0; // 0 while open

    bool operator==(const StoredBatch &) const = default;
    friend std::ostream &operator<<(std::ostream &out, const StoredBatch &batch) {
        return out << batch.name << " " << static_cast<long long>(batch.start) << ".."
                   << static_cast<long long>(batch.end);
    }
};

// The batches of a data set that no program has open.
std::vector<StoredBatch> storedBatches(const std::string &dataSet);

// The tags of a data set that no program has open, in the order they were added.
std::vector<std::string> storedTags(const std::string &dataSet);

} // namespace kvtest
