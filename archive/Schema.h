#pragma once
// The archive's tables and statements, one text for SQLite and PostgreSQL. Where the two
// dialects differ (placeholders, the id column, table options) the text goes through a Dialect.
//
// Version 1:
//   velkor_schema (version)                        -- one row
//   loggers   (id PK, humidity_sensor 0/1/NULL, label)
//   downloads (id PK, logger, kind 'download'|'import', stored_at, program, version, port,
//              source, clock, interval_s, logging_start, sample_count, battery_mv,
//              records_expected, records_received, complete 0/1, sha256,
//              added, already_there, conflicting)
//   samples   (logger, time, temperature, humidity, download; PK (logger, time))
//   conflicts (logger, time, temperature, humidity, download; PK (logger, time, temperature,
//              humidity)): the values not archived
//   erase_events (id PK, logger, at, confirmed 0/1)
// Version 2 adds download_runs (download, logger, first, last, step, count): the times each
// download brought, as runs of equally spaced times, so that a download's samples held by
// another one are known when it is removed. Migrating from 1 builds them from the samples.
//
// Booleans are INTEGER 0/1 and times BIGINT in both dialects.

#include "archive/Archive.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkor::archive {

constexpr int CurrentSchemaVersion = 2;

struct Dialect {
    // "?" (SQLite) or "$" (PostgreSQL: "$1", "$2"... in order).
    bool numberedPlaceholders = false;
    // The type and constraint of a generated integer key.
    std::string idColumn;
    // After the closing parenthesis of the samples and conflicts tables ("WITHOUT ROWID").
    std::string clusteredTableSuffix;
};

Dialect SqliteDialect();
Dialect PostgresDialect();

// The statement with "?" placeholders in the dialect's form.
std::string Sql(const Dialect& dialect, std::string_view statement);

// The statements that bring a database at version `from` (0: empty) to CurrentSchemaVersion,
// velkor_schema's row included. The caller runs them in one transaction.
std::vector<std::string> MigrationStatements(const Dialect& dialect, int from);

// The statements of one version alone (for the migration tests, which build an old archive).
std::vector<std::string> SchemaOfVersion(const Dialect& dialect, int version);

// The text of a DownloadKind in the kind column.
std::string_view KindText(DownloadKind kind);
DownloadKind KindOf(std::string_view text);

// The statements both backends run, with "?" placeholders (pass them through Sql).
namespace sql {
// velkor_schema
inline constexpr std::string_view SchemaVersion = "SELECT version FROM velkor_schema";
// loggers: id, humidity_sensor (NULL: unknown)
inline constexpr std::string_view AddLogger =
    "INSERT INTO loggers (id, humidity_sensor, label) VALUES (?, ?, '') ON CONFLICT (id) DO "
    "NOTHING";
inline constexpr std::string_view SetHumiditySensor =
    "UPDATE loggers SET humidity_sensor = ? WHERE id = ?";
inline constexpr std::string_view SetLabel = "UPDATE loggers SET label = ? WHERE id = ?";
// downloads: every column but id, in the order of the table
inline constexpr std::string_view AddDownload =
    "INSERT INTO downloads (logger, kind, stored_at, program, version, port, source, clock, "
    "interval_s, logging_start, sample_count, battery_mv, records_expected, records_received, "
    "complete, sha256, added, already_there, conflicting) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
    "?, ?, ?, ?, ?, ?, 0, 0, 0)";
inline constexpr std::string_view SetDownloadCounts =
    "UPDATE downloads SET added = ?, already_there = ?, conflicting = ? WHERE id = ?";
// samples
inline constexpr std::string_view AddSample =
    "INSERT INTO samples (logger, time, temperature, humidity, download) VALUES (?, ?, ?, ?, ?) "
    "ON CONFLICT (logger, time) DO NOTHING";
inline constexpr std::string_view SampleAt =
    "SELECT temperature, humidity FROM samples WHERE logger = ? AND time = ?";
inline constexpr std::string_view AddConflict =
    "INSERT INTO conflicts (logger, time, temperature, humidity, download) VALUES (?, ?, ?, ?, "
    "?) ON CONFLICT (logger, time, temperature, humidity) DO NOTHING";
inline constexpr std::string_view SamplesInPeriod =
    "SELECT time, temperature, humidity, download FROM samples WHERE logger = ? AND time >= ? "
    "AND time <= ? ORDER BY time";
inline constexpr std::string_view CountInPeriod =
    "SELECT COUNT(*) FROM samples WHERE logger = ? AND time >= ? AND time <= ?";
// download_runs
inline constexpr std::string_view AddRun =
    "INSERT INTO download_runs (download, logger, first, last, step, count) VALUES (?, ?, ?, ?, "
    "?, ?)";
inline constexpr std::string_view OtherRunsOfLogger =
    "SELECT download, first, last, step, count FROM download_runs WHERE logger = ? AND "
    "download <> ?";
inline constexpr std::string_view RunsOfDownload =
    "SELECT download, first, last, step, count FROM download_runs WHERE download = ?";
// samples of one download within one of its runs
inline constexpr std::string_view SamplesOfDownloadIn =
    "SELECT time FROM samples WHERE logger = ? AND time >= ? AND time <= ? AND download = ?";
inline constexpr std::string_view ConflictToPromote =
    "SELECT temperature, humidity, download FROM conflicts WHERE logger = ? AND time = ? AND "
    "download <> ? ORDER BY download LIMIT 1";
inline constexpr std::string_view ReplaceSample =
    "UPDATE samples SET temperature = ?, humidity = ?, download = ? WHERE logger = ? AND time = ?";
inline constexpr std::string_view RemoveConflict =
    "DELETE FROM conflicts WHERE logger = ? AND time = ? AND temperature = ? AND humidity = ?";
inline constexpr std::string_view CreditSample =
    "UPDATE samples SET download = ? WHERE logger = ? AND time = ?";
inline constexpr std::string_view RemoveSample =
    "DELETE FROM samples WHERE logger = ? AND time = ?";
inline constexpr std::string_view RemoveConflictsOfDownload =
    "DELETE FROM conflicts WHERE logger = ? AND download = ?";
inline constexpr std::string_view RemoveRunsOfDownload =
    "DELETE FROM download_runs WHERE download = ?";
inline constexpr std::string_view RemoveDownload = "DELETE FROM downloads WHERE id = ?";
inline constexpr std::string_view LoggerOfDownload = "SELECT logger FROM downloads WHERE id = ?";
// listings
inline constexpr std::string_view LoggerList =
    "SELECT l.id, l.humidity_sensor, l.label, "
    "(SELECT COUNT(*) FROM samples s WHERE s.logger = l.id), "
    "(SELECT MIN(time) FROM samples s WHERE s.logger = l.id), "
    "(SELECT MAX(time) FROM samples s WHERE s.logger = l.id), "
    "(SELECT MAX(stored_at) FROM downloads d WHERE d.logger = l.id) FROM loggers l ORDER BY l.id";
// an empty logger: every logger's
inline constexpr std::string_view DownloadList =
    "SELECT id, logger, kind, stored_at, program, version, port, source, clock, interval_s, "
    "logging_start, sample_count, battery_mv, records_expected, records_received, complete, "
    "sha256, added, already_there, conflicting FROM downloads WHERE ? = '' OR logger = ? "
    "ORDER BY id";
inline constexpr std::string_view ConflictList =
    "SELECT logger, time, temperature, humidity, download FROM conflicts WHERE ? = '' OR "
    "logger = ? ORDER BY logger, time, download";
inline constexpr std::string_view EraseList =
    "SELECT logger, at, confirmed FROM erase_events WHERE ? = '' OR logger = ? ORDER BY id";
inline constexpr std::string_view FindDownload =
    "SELECT id FROM downloads WHERE logger = ? AND kind = ? AND stored_at = ? AND "
    "records_received = ? AND sha256 = ? ORDER BY id LIMIT 1";
inline constexpr std::string_view CountLoggers = "SELECT COUNT(*) FROM loggers";
inline constexpr std::string_view CountDownloads = "SELECT COUNT(*) FROM downloads";
inline constexpr std::string_view CountSamples = "SELECT COUNT(*) FROM samples";
inline constexpr std::string_view CountConflicts = "SELECT COUNT(*) FROM conflicts";
inline constexpr std::string_view CountEraseEvents = "SELECT COUNT(*) FROM erase_events";
// erase_events
inline constexpr std::string_view AddErase =
    "INSERT INTO erase_events (logger, at, confirmed) VALUES (?, ?, ?)";
} // namespace sql

} // namespace velkor::archive
