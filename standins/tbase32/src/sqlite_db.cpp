#include "sqlite_db.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

#include "store_error.h"
#include "tbase32.h"

namespace tbase {
namespace {

constexpr int kDefaultBusyMs = 5000;

int openFlags(Database::Access access) {
    switch (access) {
        case Database::Access::Read: return SQLITE_OPEN_READONLY;
        case Database::Access::ReadExisting: return SQLITE_OPEN_READWRITE;
        case Database::Access::CreateOrWrite: return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    return SQLITE_OPEN_READONLY;
}

} // namespace

Database::Database(std::string path, Access access) : path_(std::move(path)) {
    struct stat status {};
    if (access != Access::CreateOrWrite && ::stat(path_.c_str(), &status) != 0)
        fail(TBASE_E_FILE, fileErrorText("Cannot open", path_, errno));
    const int rc = sqlite3_open_v2(path_.c_str(), &db_, openFlags(access) | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string text = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        fail(rc == SQLITE_FULL ? TBASE_E_DISK_FULL : TBASE_E_FILE, "Cannot open " + path_ + ": " + text);
    }
    sqlite3_extended_result_codes(db_, 0);
    setBusyTimeout(kDefaultBusyMs);
    try {
        exec("PRAGMA schema_version"); // reads the header: a file that is no database fails here
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

Database::~Database() { sqlite3_close(db_); }

void Database::raise(int resultCode, std::string_view doing) const {
    if (resultCode == SQLITE_FULL) fail(TBASE_E_DISK_FULL, "The disk is full: cannot write " + path_);
    fail(TBASE_E_DATABASE, std::string(doing) + " " + path_ + ": " + sqlite3_errmsg(db_));
}

void Database::exec(const char *sql) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raise(rc, "Cannot use");
}

void Database::useWriteAheadLog() {
    exec("PRAGMA journal_mode=WAL");
    exec("PRAGMA synchronous=FULL");
}

bool Database::leaveWriteAheadLog(int waitMs) {
    setBusyTimeout(waitMs);
    const bool left = tryToLeaveWriteAheadLog();
    setBusyTimeout(kDefaultBusyMs);
    return left;
}

bool Database::tryToLeaveWriteAheadLog() {
    int rc = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) return false;
    if (rc != SQLITE_OK) raise(rc, "Cannot merge the log of");
    rc = sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) return false;
    if (rc != SQLITE_OK) raise(rc, "Cannot close the log of");
    Statement mode(*this, "PRAGMA journal_mode");
    return mode.step() && mode.text(0) == "delete";
}

std::int64_t Database::sizeInBytes() {
    Statement pages(*this, "PRAGMA page_count");
    Statement pageSize(*this, "PRAGMA page_size");
    if (!pages.step() || !pageSize.step()) return 0;
    return pages.integer(0) * pageSize.integer(0);
}

void Database::setBusyTimeout(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }

Statement::Statement(Database &database, const char *sql) : database_(database) {
    const int rc = sqlite3_prepare_v2(database.handle(), sql, -1, &statement_, nullptr);
    if (rc != SQLITE_OK) database.raise(rc, "Cannot read");
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement &Statement::bind(int index, double value) {
    sqlite3_bind_double(statement_, index, value);
    return *this;
}

Statement &Statement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
    return *this;
}

Statement &Statement::bind(int index, std::string_view text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    database_.raise(rc, "Cannot use");
}

void Statement::run() {
    while (step()) {}
    reset();
}

void Statement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

double Statement::real(int column) const { return sqlite3_column_double(statement_, column); }
std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(statement_, column); }
bool Statement::isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

std::string Statement::text(int column) const {
    const auto *text = sqlite3_column_text(statement_, column);
    return text ? std::string(reinterpret_cast<const char *>(text)) : std::string();
}

Transaction::Transaction(Database &database) : database_(database) { database_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (open_) sqlite3_exec(database_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    database_.exec("COMMIT");
    open_ = false;
}

} // namespace tbase
