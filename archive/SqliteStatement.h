#pragma once
// A prepared SQLite statement that raises ArchiveError with the outcome of SQLite's result
// code. Internal to the SQLite archive.

#include "archive/Archive.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velkor::archive {

// The outcome of an SQLite result code.
ArchiveFault SqliteFault(int code);
[[noreturn]] void ThrowSqlite(sqlite3* db, int code);

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 1.
    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& Bind(int index, std::string_view value);
    SqliteStatement& Bind(int index, std::optional<std::int64_t> value);
    // True while there is a row to read.
    bool Step();
    // Steps to the end and resets, for a statement without rows.
    void Run();
    // Ready to run again; the bindings stay until rebound.
    void Reset();

    // Columns count from 0.
    std::int64_t Int(int column) const;
    std::optional<std::int64_t> OptionalInt(int column) const;
    std::string Text(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// Runs one statement without parameters or rows.
void Execute(sqlite3* db, const std::string& sql);

} // namespace velkor::archive
