// One values file of a data set: the .NOW file or a rolled-over .HIS file.
// Each value is (tag number, time, value); a tag holds one value per time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sqlite_db.h"

namespace tbase {

struct TimedValue {
    double time = 0.0;
    double value = 0.0;
};

struct QueuedValue {
    std::int64_t tag = 0;
    double time = 0.0;
    double value = 0.0;
};

class ValueFile {
public:
    // The writer's .NOW file: created when missing, with synchronous commits to a write-ahead log.
    static std::unique_ptr<ValueFile> openForWriting(const std::string &path);
    // A reader's look: the .NOW file (which its write-ahead log needs opened for
    // writing, though nothing is written) or a rolled-over file (read only).
    static std::unique_ptr<ValueFile> openForReading(const std::string &path, bool isNowFile);

    // Stores count values in one transaction.
    void store(const QueuedValue *values, std::size_t count);

    std::optional<TimedValue> newest(std::int64_t tag);
    // Values of tag with after < time <= until, in time order, at most limit.
    std::vector<TimedValue> fetch(std::int64_t tag, double after, double until, std::size_t limit);
    bool hasValues();

    std::int64_t sizeInBytes() { return db_.sizeInBytes(); }
    // See Database::leaveWriteAheadLog.
    bool leaveWriteAheadLog(int waitMs) { return db_.leaveWriteAheadLog(waitMs); }

    ValueFile(const std::string &path, Database::Access access);

private:
    Database db_;
    std::unique_ptr<Statement> insert_;
};

} // namespace tbase
