// Reading a data set without opening it for writing: its tags, batches and
// stored values across the rolled-over files and the .NOW file. A writer may
// be at work meanwhile; every read opens the values files anew, so a reader
// never holds up a rollover for longer than one read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data_set_files.h"
#include "key_file.h"
#include "value_file.h"

namespace tbase {

class DataSetReader {
public:
    // Throws TBASE_E_FILE when the data set has no KEY file.
    explicit DataSetReader(DataSetFiles files);

    const DataSetFiles &files() const { return files_; }
    // Reads the tags again (a writer may have added some).
    void refresh();
    const std::vector<TagInfo> &tags() const { return tags_; }
    std::optional<TagInfo> tag(std::string_view name) const;
    std::vector<BatchInfo> batches();
    std::string description();

    // Values of tag with after < time <= until, in time order, at most limit;
    // where two files hold a value at one time the later file's counts.
    std::vector<TimedValue> fetch(const TagInfo &tag, double after, double until, std::size_t limit);
    // Newest stored value of tag in any file.
    std::optional<TimedValue> newest(const TagInfo &tag);

private:
    struct RolledOverFile {
        std::int64_t size = 0;
        std::int64_t modified = 0;
        std::map<std::int64_t, std::optional<double>> newestByTag;
    };
    // Newest time of tag in a rolled-over file, remembered: those files do not change.
    std::optional<double> newestIn(const std::string &path, std::int64_t tag);

    DataSetFiles files_;
    std::vector<TagInfo> tags_;
    std::map<std::string, RolledOverFile> rolledOver_;
};

} // namespace tbase
