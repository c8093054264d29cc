#include "platform/recordmanager/Sqlite.h"

#include "platform/recordmanager/FileSystem.h"
#include "platform/recordmanager/RecordManagerCodes.h"

#include <utility>

namespace RecordManager {

void fail(int16_t status) {
    throw StatusError{status};
}

int16_t statusOfSqlite(int rc) {
    switch (rc & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return StatusSuccess;
    case SQLITE_CONSTRAINT:
        return StatusDuplicateKey;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
    case SQLITE_MISMATCH:
        return StatusNotARecordFile;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StatusFileLocked;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return StatusReadOnly;
    case SQLITE_CANTOPEN:
        return StatusFileNotFound;
    default:
        return StatusIOError;
    }
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

int Database::open(const std::string& path, int flags) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_EXRESCODE, seamVfsName());
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    return rc;
}

void Database::exec(const char* sql) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(statusOfSqlite(rc));
}

void Database::syncWal() {
    sqlite3_file* wal = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &wal) != SQLITE_OK || !wal ||
        !wal->pMethods)
        return;
    if (const int rc = wal->pMethods->xSync(wal, SQLITE_SYNC_NORMAL); rc != SQLITE_OK)
        fail(statusOfSqlite(rc));
}

bool Database::readOnly() const {
    return sqlite3_db_readonly(db_, "main") == 1;
}

Statement::Statement(sqlite3* db, const std::string& sql) {
    const int rc =
        sqlite3_prepare_v3(db, sql.c_str(), int(sql.size()) + 1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        // A schema that is not ours reads as "no such table" or "no such column".
        fail((rc & 0xff) == SQLITE_ERROR ? int16_t(StatusNotARecordFile) : statusOfSqlite(rc));
    }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

void Statement::bindBlob(int index, const void* data, size_t size) {
    // An empty blob needs a non-null pointer, or SQLite binds NULL.
    static const uint8_t empty = 0;
    sqlite3_bind_blob64(stmt_, index, size ? data : &empty, size, SQLITE_STATIC);
}

void Statement::bindNull(int index) {
    sqlite3_bind_null(stmt_, index);
}

void Statement::bindInt(int index, int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    fail(statusOfSqlite(rc));
}

void Statement::reset() {
    sqlite3_reset(stmt_);
}

const uint8_t* Statement::blob(int column) const {
    return static_cast<const uint8_t*>(sqlite3_column_blob(stmt_, column));
}

} // namespace RecordManager
