// A thin owner of SQLite connections and statements that turns every SQLite
// failure into a StoreError: a full disk into TBASE_E_DISK_FULL, anything
// else into TBASE_E_DATABASE naming the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tbase {

class Database;

class Statement {
public:
    Statement(Database &database, const char *sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, double value);
    Statement &bind(int index, std::int64_t value);
    Statement &bind(int index, std::string_view text);
    // True while a row is there to read; false when the statement is done.
    bool step();
    // Runs a statement that returns no rows and readies it for the next use.
    void run();
    void reset();

    double real(int column) const;
    std::int64_t integer(int column) const;
    std::string text(int column) const;
    bool isNull(int column) const;

private:
    Database &database_;
    sqlite3_stmt *statement_ = nullptr;
};

class Database {
public:
    enum class Access {
        Read,          // an existing file, read only
        ReadExisting,  // an existing file, opened for reading and writing (a write-ahead log needs it)
        CreateOrWrite, // created when missing
    };
    // Throws StoreError; TBASE_E_FILE when the file is missing and not to be created.
    Database(std::string path, Access access);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void exec(const char *sql);
    // Synchronous commits with a write-ahead log: a value reported stored survives a crash.
    void useWriteAheadLog();
    // Leaves the write-ahead log (merging it into the file and removing it);
    // false when another connection stays inside the file for waitMs.
    bool leaveWriteAheadLog(int waitMs);
    std::int64_t sizeInBytes();
    // How long a statement waits for another connection before it gives up.
    void setBusyTimeout(int milliseconds);

    const std::string &path() const { return path_; }
    sqlite3 *handle() const { return db_; }
    [[noreturn]] void raise(int resultCode, std::string_view doing) const;

private:
    bool tryToLeaveWriteAheadLog();

    std::string path_;
    sqlite3 *db_ = nullptr;
};

// BEGIN IMMEDIATE ... COMMIT; rolled back when left without commit().
class Transaction {
public:
    explicit Transaction(Database &database);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &database_;
    bool open_ = true;
};

} // namespace tbase
