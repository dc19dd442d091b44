// The table: a header line "Time,GMT Milliseconds,<data set:tag>...", then
// one line per time at which any tag has a value, in time order: the local
// time "YYYY-MM-DD hh:mm:ss.mmm", the time as stored (ms since 1970 GMT), and
// each column's value at that time or nothing. Values come back as they were
// given: a value that was a float is written as the shortest text of that
// float. Data sets are read in turn, page by page, so a directory of any size
// streams out in little memory; a logger may go on writing meanwhile.
#include "csv_export.h"

#include <dirent.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <limits>
#include <memory>
#include <vector>

#include "data_set_reader.h"
#include "store_error.h"

namespace tl32 {
namespace {

constexpr std::size_t kPage = 4096;
constexpr char kKeyExtension[] = ".KEY";

std::vector<std::string> dataSetsIn(const std::string &directory) {
    std::vector<std::string> names;
    DIR *dir = ::opendir(directory.c_str());
    if (!dir) return names;
    const std::string extension = kKeyExtension;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > extension.size() &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0)
            names.push_back(name.substr(0, name.size() - extension.size()));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string quoted(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string number(double value) {
    char text[64];
    const float asFloat = static_cast<float>(value);
    const bool wasFloat = std::isfinite(value) && static_cast<double>(asFloat) == value;
    const auto result =
        wasFloat ? std::to_chars(text, text + sizeof text, asFloat) : std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string timeColumns(double time) {
    char gmt[64];
    const auto end = std::to_chars(gmt, gmt + sizeof gmt, time, std::chars_format::fixed).ptr;
    const double seconds = std::floor(time / 1000.0);
    const auto milliseconds = static_cast<int>(time - seconds * 1000.0);
    const std::time_t calendar = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&calendar, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d,", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, milliseconds);
    return text + std::string(gmt, end);
}

// One column: a tag of a data set, read a page at a time.
class Column {
public:
    Column(std::shared_ptr<tbase::DataSetReader> reader, tbase::TagInfo tag)
            : reader_(std::move(reader)), tag_(std::move(tag)) {
        fill();
    }
    std::string title() const { return reader_->files().name + ":" + tag_.name; }
    const tbase::TimedValue *head() const { return next_ < page_.size() ? &page_[next_] : nullptr; }
    void advance() {
        if (++next_ == page_.size()) fill();
    }

private:
    void fill() {
        const double after = page_.empty() ? -std::numeric_limits<double>::infinity() : page_.back().time;
        if (!page_.empty() && page_.size() < kPage) {
            page_.clear(); // the last page was short: nothing follows
            next_ = 0;
            return;
        }
        page_ = reader_->fetch(tag_, after, std::numeric_limits<double>::infinity(), kPage);
        next_ = 0;
    }

    std::shared_ptr<tbase::DataSetReader> reader_;
    tbase::TagInfo tag_;
    std::vector<tbase::TimedValue> page_;
    std::size_t next_ = 0;
};

} // namespace

bool exportDataSets(const std::string &directory, std::ostream &out, std::string &problem) {
    const std::vector<std::string> names = dataSetsIn(directory);
    if (names.empty()) {
        problem = "No Trend Link data set (*.KEY) in " + directory;
        return false;
    }
    try {
        std::vector<Column> columns;
        for (const std::string &name : names) {
            auto reader = std::make_shared<tbase::DataSetReader>(tbase::DataSetFiles{directory, name});
            for (const tbase::TagInfo &tag : reader->tags()) columns.emplace_back(reader, tag);
        }
        out << "Time,GMT Milliseconds";
        for (const Column &column : columns) out << ',' << quoted(column.title());
        out << "\r\n";
        for (;;) {
            const tbase::TimedValue *earliest = nullptr;
            for (const Column &column : columns)
                if (column.head() && (!earliest || column.head()->time < earliest->time)) earliest = column.head();
            if (!earliest) break;
            const double time = earliest->time;
            out << timeColumns(time);
            for (Column &column : columns) {
                out << ',';
                if (column.head() && column.head()->time == time) {
                    out << number(column.head()->value);
                    column.advance();
                }
            }
            out << "\r\n";
        }
    } catch (const tbase::StoreError &error) {
        problem = error.what();
        return false;
    }
    out.flush();
    if (!out) {
        problem = "Cannot write the table";
        return false;
    }
    return true;
}

} // namespace tl32
