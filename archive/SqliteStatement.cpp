#include "archive/SqliteStatement.h"

#include <sqlite3.h>

namespace velkor::archive {

ArchiveFault SqliteFault(int code) {
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ArchiveFault::Busy;
    case SQLITE_FULL:
        return ArchiveFault::Full;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return ArchiveFault::ReadOnly;
    case SQLITE_CANTOPEN:
        return ArchiveFault::CannotOpen;
    case SQLITE_NOTADB:
        return ArchiveFault::NotAnArchive;
    case SQLITE_CORRUPT:
        return ArchiveFault::Damaged;
    default:
        return ArchiveFault::Other;
    }
}

void ThrowSqlite(sqlite3* db, int code) {
    std::string text = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw ArchiveError(SqliteFault(code), text);
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    const int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (rc != SQLITE_OK) {
        ThrowSqlite(db, rc);
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    const int rc = sqlite3_bind_int64(statement_, index, value);
    if (rc != SQLITE_OK) {
        ThrowSqlite(db_, rc);
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view value) {
    const int rc = sqlite3_bind_text(statement_, index, value.data(),
                                     static_cast<int>(value.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) {
        ThrowSqlite(db_, rc);
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::optional<std::int64_t> value) {
    if (value) {
        return Bind(index, *value);
    }
    const int rc = sqlite3_bind_null(statement_, index);
    if (rc != SQLITE_OK) {
        ThrowSqlite(db_, rc);
    }
    return *this;
}

bool SqliteStatement::Step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    sqlite3_reset(statement_);
    ThrowSqlite(db_, rc);
}

void SqliteStatement::Run() {
    while (Step()) {
    }
    Reset();
}

void SqliteStatement::Reset() {
    sqlite3_reset(statement_);
}

std::int64_t SqliteStatement::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::optional<std::int64_t> SqliteStatement::OptionalInt(int column) const {
    if (sqlite3_column_type(statement_, column) == SQLITE_NULL) {
        return std::nullopt;
    }
    return Int(column);
}

std::string SqliteStatement::Text(int column) const {
    const auto* text = sqlite3_column_text(statement_, column);
    if (text == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

void Execute(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        sqlite3_free(message);
        ThrowSqlite(db, rc);
    }
}

} // namespace velkor::archive
