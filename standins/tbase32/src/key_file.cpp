#include "key_file.h"

#include "store_error.h"
#include "tbase32.h"

namespace tbase {
namespace {

constexpr std::int64_t kFormat = 1;

constexpr char kSchema[] = R"(
CREATE TABLE IF NOT EXISTS data_set(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS tag(
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE COLLATE NOCASE,
    description TEXT NOT NULL,
    units TEXT NOT NULL,
    high REAL NOT NULL,
    low REAL NOT NULL,
    deadband REAL NOT NULL);
CREATE TABLE IF NOT EXISTS batch(
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    start REAL NOT NULL,
    end REAL);
PRAGMA user_version = 1;
)";

Database::Access accessFor(bool forWriting) {
    return forWriting ? Database::Access::CreateOrWrite : Database::Access::ReadExisting;
}

} // namespace

KeyFile::KeyFile(const std::string &path, bool forWriting) : db_(path, accessFor(forWriting)) {
    if (forWriting) {
        db_.useWriteAheadLog();
        Statement version(db_, "PRAGMA user_version");
        if (version.step() && version.integer(0) > kFormat)
            fail(TBASE_E_DATABASE, path + " was written by a later version of the historian");
        db_.exec(kSchema);
    }
}

std::string KeyFile::description() {
    Statement select(db_, "SELECT value FROM data_set WHERE key = 'description'");
    return select.step() ? select.text(0) : std::string();
}

void KeyFile::setDescription(const std::string &description) {
    Statement(db_, "INSERT OR REPLACE INTO data_set(key, value) VALUES('description', ?)").bind(1, description).run();
}

std::vector<TagInfo> KeyFile::tags() {
    std::vector<TagInfo> tags;
    Statement select(db_, "SELECT id, name, description, units, high, low, deadband FROM tag ORDER BY id");
    while (select.step())
        tags.push_back(TagInfo{select.integer(0), select.text(1), select.text(2), select.text(3), select.real(4),
                               select.real(5), select.real(6)});
    return tags;
}

TagInfo KeyFile::addTag(TagInfo tag) {
    Statement insert(db_, "INSERT INTO tag(name, description, units, high, low, deadband) VALUES(?, ?, ?, ?, ?, ?)");
    insert.bind(1, tag.name).bind(2, tag.description).bind(3, tag.units);
    insert.bind(4, tag.high).bind(5, tag.low).bind(6, tag.deadband).run();
    Statement id(db_, "SELECT last_insert_rowid()");
    id.step();
    tag.id = id.integer(0);
    return tag;
}

void KeyFile::modifyTag(const TagInfo &tag) {
    Statement update(db_, "UPDATE tag SET description = ?, units = ?, high = ?, low = ?, deadband = ? WHERE id = ?");
    update.bind(1, tag.description).bind(2, tag.units).bind(3, tag.high).bind(4, tag.low).bind(5, tag.deadband);
    update.bind(6, tag.id).run();
}

std::vector<BatchInfo> KeyFile::batches() {
    std::vector<BatchInfo> batches;
    Statement select(db_, "SELECT id, name, start, end FROM batch ORDER BY start, id");
    while (select.step()) {
        BatchInfo batch{select.integer(0), select.text(1), select.real(2), std::nullopt};
        if (!select.isNull(3)) batch.end = select.real(3);
        batches.push_back(std::move(batch));
    }
    return batches;
}

std::int64_t KeyFile::addBatch(const std::string &name, double start) {
    Statement(db_, "INSERT INTO batch(name, start) VALUES(?, ?)").bind(1, name).bind(2, start).run();
    Statement id(db_, "SELECT last_insert_rowid()");
    id.step();
    return id.integer(0);
}

void KeyFile::endBatch(std::int64_t id, double end) {
    Statement(db_, "UPDATE batch SET end = ? WHERE id = ?").bind(1, end).bind(2, id).run();
}

} // namespace tbase
