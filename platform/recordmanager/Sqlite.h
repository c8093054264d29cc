#pragma once
// Thin RAII over the SQLite C API. Failures travel as StatusError up to BTRCALL.
#include "platform/recordmanager/StatusError.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace RecordManager {

// The record manager's status for an SQLite result code.
int16_t statusOfSqlite(int rc);

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Returns the SQLite result code; the handle is closed again on failure.
    int open(const std::string& path, int flags);
    sqlite3* handle() const { return db_; }
    void exec(const char* sql);
    bool readOnly() const;
    // Syncs the WAL (nothing without one): what was committed lasts also when the power fails.
    void syncWal();

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }

    // Blobs are bound without a copy: the bytes must live until the statement is reset.
    void bindBlob(int index, const void* data, size_t size);
    void bindNull(int index);
    void bindInt(int index, int64_t value);

    // True for a row, false when done. A failure resets the statement and throws.
    bool step();
    void reset();

    int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    const uint8_t* blob(int column) const;
    size_t blobSize(int column) const { return size_t(sqlite3_column_bytes(stmt_, column)); }
    bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// Resets a statement when a call is done with it, so no cached statement holds a read snapshot
// (or an implicit transaction open) between calls.
class StatementUse {
public:
    explicit StatementUse(Statement& s)
        : s_(s) {}
    ~StatementUse() { s_.reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    Statement* operator->() { return &s_; }

private:
    Statement& s_;
};

} // namespace RecordManager
