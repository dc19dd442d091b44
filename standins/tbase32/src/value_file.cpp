#include "value_file.h"

namespace tbase {
namespace {

constexpr char kSchema[] = R"(
CREATE TABLE IF NOT EXISTS value(
    tag INTEGER NOT NULL,
    time REAL NOT NULL,
    value REAL NOT NULL,
    PRIMARY KEY(tag, time)) WITHOUT ROWID;
)";

} // namespace

ValueFile::ValueFile(const std::string &path, Database::Access access) : db_(path, access) {}

std::unique_ptr<ValueFile> ValueFile::openForWriting(const std::string &path) {
    auto file = std::make_unique<ValueFile>(path, Database::Access::CreateOrWrite);
    file->db_.useWriteAheadLog();
    file->db_.exec(kSchema);
    file->insert_ =
        std::make_unique<Statement>(file->db_, "INSERT OR REPLACE INTO value(tag, time, value) VALUES(?, ?, ?)");
    return file;
}

std::unique_ptr<ValueFile> ValueFile::openForReading(const std::string &path, bool isNowFile) {
    return std::make_unique<ValueFile>(path, isNowFile ? Database::Access::ReadExisting : Database::Access::Read);
}

void ValueFile::store(const QueuedValue *values, std::size_t count) {
    Transaction transaction(db_);
    for (std::size_t i = 0; i < count; ++i) {
        insert_->bind(1, values[i].tag).bind(2, values[i].time).bind(3, values[i].value);
        insert_->run();
    }
    transaction.commit();
}

std::optional<TimedValue> ValueFile::newest(std::int64_t tag) {
    Statement select(db_, "SELECT time, value FROM value WHERE tag = ? ORDER BY time DESC LIMIT 1");
    select.bind(1, tag);
    if (!select.step()) return std::nullopt;
    return TimedValue{select.real(0), select.real(1)};
}

std::vector<TimedValue> ValueFile::fetch(std::int64_t tag, double after, double until, std::size_t limit) {
    std::vector<TimedValue> values;
    Statement select(db_,
                     "SELECT time, value FROM value WHERE tag = ? AND time > ? AND time <= ? ORDER BY time LIMIT ?");
    select.bind(1, tag).bind(2, after).bind(3, until).bind(4, static_cast<std::int64_t>(limit));
    while (select.step()) values.push_back(TimedValue{select.real(0), select.real(1)});
    return values;
}

bool ValueFile::hasValues() {
    Statement select(db_, "SELECT 1 FROM value LIMIT 1");
    return select.step();
}

} // namespace tbase
