#include "data_set_reader.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "store_error.h"
#include "tbase32.h"

namespace tbase {
namespace {

KeyFile openKey(const DataSetFiles &files) {
    if (!fileExists(files.keyPath())) fail(TBASE_E_FILE, "Data set " + files.name + " has no " + files.keyPath());
    return KeyFile(files.keyPath(), false);
}

// Opens the .NOW file when there is one: a rollover may just have taken it away.
std::unique_ptr<ValueFile> openNowFile(const DataSetFiles &files) {
    if (!fileExists(files.nowPath())) return nullptr;
    try {
        return ValueFile::openForReading(files.nowPath(), true);
    } catch (const StoreError &) {
        if (!fileExists(files.nowPath())) return nullptr;
        throw;
    }
}

} // namespace

DataSetReader::DataSetReader(DataSetFiles files) : files_(std::move(files)) { refresh(); }

void DataSetReader::refresh() { tags_ = openKey(files_).tags(); }

std::optional<TagInfo> DataSetReader::tag(std::string_view name) const {
    for (const TagInfo &tag : tags_)
        if (tag.name.size() == name.size() && ::strncasecmp(tag.name.data(), name.data(), name.size()) == 0) return tag;
    return std::nullopt;
}

std::vector<BatchInfo> DataSetReader::batches() { return openKey(files_).batches(); }

std::string DataSetReader::description() { return openKey(files_).description(); }

std::optional<double> DataSetReader::newestIn(const std::string &path, std::int64_t tag) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    RolledOverFile &file = rolledOver_[path];
    if (file.size != status.st_size || file.modified != status.st_mtim.tv_sec) {
        file = RolledOverFile{status.st_size, status.st_mtim.tv_sec, {}};
    }
    const auto known = file.newestByTag.find(tag);
    if (known != file.newestByTag.end()) return known->second;
    const auto newest = ValueFile::openForReading(path, false)->newest(tag);
    return file.newestByTag[tag] = newest ? std::optional<double>(newest->time) : std::nullopt;
}

std::vector<TimedValue> DataSetReader::fetch(const TagInfo &tag, double after, double until, std::size_t limit) {
    std::vector<TimedValue> values;
    const auto take = [&](ValueFile &file) {
        auto found = file.fetch(tag.id, after, until, limit);
        values.insert(values.end(), found.begin(), found.end());
    };
    for (const std::string &path : files_.rolledOverPaths()) {
        const auto newest = newestIn(path, tag.id);
        if (newest && *newest > after) take(*ValueFile::openForReading(path, false));
    }
    if (auto now = openNowFile(files_)) take(*now);

    // Files are in order, so of two values at one time the later file's comes last.
    std::stable_sort(values.begin(), values.end(),
                     [](const TimedValue &a, const TimedValue &b) { return a.time < b.time; });
    std::vector<TimedValue> merged;
    for (const TimedValue &value : values) {
        if (!merged.empty() && merged.back().time == value.time)
            merged.back() = value;
        else
            merged.push_back(value);
    }
    if (merged.size() > limit) merged.resize(limit);
    return merged;
}

std::optional<TimedValue> DataSetReader::newest(const TagInfo &tag) {
    // Values may have come in out of time order, so every file is asked (the
    // rolled-over ones from memory once seen).
    std::optional<TimedValue> newest;
    if (auto now = openNowFile(files_)) newest = now->newest(tag.id);
    std::string newestPath;
    for (const std::string &path : files_.rolledOverPaths()) {
        const auto time = newestIn(path, tag.id);
        if (time && (!newest || *time > newest->time)) {
            newest = TimedValue{*time, 0.0};
            newestPath = path;
        }
    }
    if (!newestPath.empty()) newest = ValueFile::openForReading(newestPath, false)->newest(tag.id);
    return newest;
}

} // namespace tbase
