#include "archive/SqliteArchive.h"

#include "archive/Runs.h"
#include "archive/Schema.h"
#include "archive/SqliteStatement.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

namespace velkor::archive {

namespace {

constexpr std::size_t ReadChunkSamples = 4096;

// BEGIN IMMEDIATE takes the write lock at once, so a second writer waits at the start (the busy
// timeout) instead of failing halfway. Rolled back unless committed.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db_(db) { Execute(db_, "BEGIN IMMEDIATE"); }
    ~Transaction() {
        if (!done_) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit() {
        Execute(db_, "COMMIT");
        done_ = true;
    }

private:
    sqlite3* db_;
    bool done_ = false;
};

std::int64_t Single(sqlite3* db, std::string_view sql) {
    SqliteStatement q(db, sql);
    return q.Step() ? q.Int(0) : 0;
}

LoggerSeconds From(const Period& p) {
    return p.from.value_or(std::numeric_limits<LoggerSeconds>::min());
}
LoggerSeconds To(const Period& p) {
    return p.to.value_or(std::numeric_limits<LoggerSeconds>::max());
}

class SqliteArchive final : public Archive {
public:
    SqliteArchive(const std::string& path, int busyTimeoutMilliseconds) : path_(path) {
        if (path.empty()) {
            throw ArchiveError(ArchiveFault::CannotOpen, "no file name");
        }
        const auto folder = std::filesystem::path(path).parent_path();
        std::error_code ec;
        if (!folder.empty() && !std::filesystem::exists(folder, ec)) {
            std::filesystem::create_directories(folder, ec);
            if (ec) {
                const bool readOnly =
                    ec == std::errc::permission_denied || ec == std::errc::read_only_file_system;
                throw ArchiveError(readOnly ? ArchiveFault::ReadOnly : ArchiveFault::CannotOpen,
                                   ec.message());
            }
        }
        const int rc = sqlite3_open_v2(path.c_str(), &db_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            const std::string text = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close(db_);
            db_ = nullptr;
            throw ArchiveError(SqliteFault(rc), text);
        }
        try {
            sqlite3_extended_result_codes(db_, 1);
            sqlite3_busy_timeout(db_, busyTimeoutMilliseconds);
            // Reading the schema reads the file: a file that is no database fails here, and
            // a database of another program is refused before anything is written to it.
            const int version = StoredVersion();
            Execute(db_, "PRAGMA journal_mode = WAL");
            Execute(db_, "PRAGMA foreign_keys = ON");
            // In WAL mode a crash of the program loses nothing committed; a power cut may lose
            // the last transactions but never leaves a damaged file.
            Execute(db_, "PRAGMA synchronous = NORMAL");
            if (version < CurrentSchemaVersion) {
                Migrate();
            }
        } catch (...) {
            sqlite3_close(db_);
            throw;
        }
    }

    ~SqliteArchive() override { sqlite3_close(db_); }

    std::string Location() const override { return path_; }

    int SchemaVersion() override { return static_cast<int>(Single(db_, sql::SchemaVersion)); }

    StoreCounts Store(const LoggerIdentity& logger, const DownloadMeta& meta,
                      std::span<const Sample> samples) override {
        Transaction t(db_);
        AddLogger(logger.id, logger.humiditySensor);

        SqliteStatement download(db_, sql::AddDownload);
        const auto settings = meta.settings;
        auto opt = [&](auto member) -> std::optional<std::int64_t> {
            if (!settings) {
                return std::nullopt;
            }
            return static_cast<std::int64_t>((*settings).*member);
        };
        download.Bind(1, logger.id)
            .Bind(2, KindText(meta.kind))
            .Bind(3, std::int64_t{meta.storedAt})
            .Bind(4, meta.program)
            .Bind(5, meta.version)
            .Bind(6, meta.port)
            .Bind(7, meta.source)
            .Bind(8, opt(&SettingsRead::clock))
            .Bind(9, opt(&SettingsRead::interval))
            .Bind(10, opt(&SettingsRead::loggingStart))
            .Bind(11, opt(&SettingsRead::sampleCount))
            .Bind(12, opt(&SettingsRead::batteryMillivolts))
            .Bind(13, meta.recordsExpected)
            .Bind(14, meta.recordsReceived)
            .Bind(15, std::int64_t{meta.complete ? 1 : 0})
            .Bind(16, meta.sha256);
        download.Run();
        StoreCounts counts;
        counts.download = sqlite3_last_insert_rowid(db_);

        SqliteStatement add(db_, sql::AddSample);
        SqliteStatement at(db_, sql::SampleAt);
        SqliteStatement conflict(db_, sql::AddConflict);
        add.Bind(1, logger.id).Bind(5, counts.download);
        at.Bind(1, logger.id);
        conflict.Bind(1, logger.id).Bind(5, counts.download);
        for (const auto& s : samples) {
            add.Bind(2, s.time)
                .Bind(3, std::int64_t{s.temperature})
                .Bind(4, std::int64_t{s.humidity});
            add.Run();
            if (sqlite3_changes(db_) == 1) {
                ++counts.added;
                continue;
            }
            at.Bind(2, s.time);
            at.Step();
            const bool same = at.Int(0) == s.temperature && at.Int(1) == s.humidity;
            at.Reset();
            if (same) {
                ++counts.alreadyThere;
                continue;
            }
            ++counts.conflicting;
            conflict.Bind(2, s.time)
                .Bind(3, std::int64_t{s.temperature})
                .Bind(4, std::int64_t{s.humidity});
            conflict.Run();
        }

        SqliteStatement run(db_, sql::AddRun);
        run.Bind(1, counts.download).Bind(2, logger.id);
        for (const auto& r : RunsOf(samples)) {
            run.Bind(3, r.first).Bind(4, r.last).Bind(5, r.step).Bind(6, r.count);
            run.Run();
        }
        SqliteStatement setCounts(db_, sql::SetDownloadCounts);
        setCounts.Bind(1, counts.added)
            .Bind(2, counts.alreadyThere)
            .Bind(3, counts.conflicting)
            .Bind(4, counts.download);
        setCounts.Run();
        t.Commit();
        return counts;
    }

    void RecordErase(const EraseEvent& event) override {
        Transaction t(db_);
        AddLogger(event.logger, std::nullopt);
        SqliteStatement add(db_, sql::AddErase);
        add.Bind(1, event.logger).Bind(2, event.at).Bind(3, std::int64_t{event.confirmed ? 1 : 0});
        add.Run();
        t.Commit();
    }

    std::vector<LoggerSummary> Loggers() override {
        std::vector<LoggerSummary> out;
        SqliteStatement q(db_, sql::LoggerList);
        while (q.Step()) {
            LoggerSummary l;
            l.id = q.Text(0);
            if (auto h = q.OptionalInt(1)) {
                l.humiditySensor = *h != 0;
            }
            l.label = q.Text(2);
            l.samples = q.Int(3);
            l.first = q.OptionalInt(4);
            l.last = q.OptionalInt(5);
            l.lastDownload = q.OptionalInt(6);
            out.push_back(std::move(l));
        }
        return out;
    }

    void ReadSamples(const std::string& logger, const Period& period,
                     const SampleChunkSink& sink) override {
        SqliteStatement q(db_, sql::SamplesInPeriod);
        q.Bind(1, logger).Bind(2, From(period)).Bind(3, To(period));
        std::vector<StoredSample> chunk;
        chunk.reserve(ReadChunkSamples);
        while (q.Step()) {
            chunk.push_back(StoredSample{Sample{q.Int(0), static_cast<std::int32_t>(q.Int(1)),
                                                static_cast<std::int32_t>(q.Int(2))},
                                         q.Int(3)});
            if (chunk.size() == ReadChunkSamples) {
                sink(chunk);
                chunk.clear();
            }
        }
        if (!chunk.empty()) {
            sink(chunk);
        }
    }

    std::int64_t CountSamples(const std::string& logger, const Period& period) override {
        SqliteStatement q(db_, sql::CountInPeriod);
        q.Bind(1, logger).Bind(2, From(period)).Bind(3, To(period));
        return q.Step() ? q.Int(0) : 0;
    }

    void SetLabel(const std::string& logger, const std::string& label) override {
        SqliteStatement q(db_, sql::SetLabel);
        q.Bind(1, label).Bind(2, logger);
        q.Run();
        if (sqlite3_changes(db_) == 0) {
            throw ArchiveError(ArchiveFault::NoSuchLogger, logger);
        }
    }

    CheckResult Check() override {
        CheckResult r;
        {
            SqliteStatement q(db_, "PRAGMA integrity_check");
            while (q.Step()) {
                const auto line = q.Text(0);
                if (line != "ok") {
                    r.intact = false;
                    r.problems.push_back(line);
                }
            }
        }
        try {
            r.schemaVersion = SchemaVersion();
            r.loggers = Single(db_, sql::CountLoggers);
            r.downloads = Single(db_, sql::CountDownloads);
            r.samples = Single(db_, sql::CountSamples);
            r.conflicts = Single(db_, sql::CountConflicts);
            r.eraseEvents = Single(db_, sql::CountEraseEvents);
        } catch (const ArchiveError& e) {
            // A damaged archive may not even count; what was found is reported.
            if (r.intact) {
                throw;
            }
            r.problems.push_back(e.what());
        }
        return r;
    }

    std::vector<DownloadSummary> Downloads(const std::string& logger) override {
        std::vector<DownloadSummary> out;
        SqliteStatement q(db_, sql::DownloadList);
        q.Bind(1, logger).Bind(2, logger);
        while (q.Step()) {
            DownloadSummary d;
            d.id = q.Int(0);
            d.logger = q.Text(1);
            d.meta.kind = KindOf(q.Text(2));
            d.meta.storedAt = q.Int(3);
            d.meta.program = q.Text(4);
            d.meta.version = q.Text(5);
            d.meta.port = q.Text(6);
            d.meta.source = q.Text(7);
            if (q.OptionalInt(8)) {
                d.meta.settings = SettingsRead{q.Int(8), q.Int(9), q.Int(10), q.Int(11),
                                               static_cast<std::int32_t>(q.Int(12))};
            }
            d.meta.recordsExpected = q.Int(13);
            d.meta.recordsReceived = q.Int(14);
            d.meta.complete = q.Int(15) != 0;
            d.meta.sha256 = q.Text(16);
            d.counts = StoreCounts{q.Int(17), q.Int(18), q.Int(19), d.id};
            out.push_back(std::move(d));
        }
        return out;
    }

    RemoveResult RemoveDownload(std::int64_t download) override {
        Transaction t(db_);
        std::string logger;
        {
            SqliteStatement q(db_, sql::LoggerOfDownload);
            q.Bind(1, download);
            if (!q.Step()) {
                throw ArchiveError(ArchiveFault::NoSuchDownload, std::to_string(download));
            }
            logger = q.Text(0);
        }
        const auto mine = Runs(sql::RunsOfDownload, download, {});
        const auto others = Runs(sql::OtherRunsOfLogger, download, logger);

        // The times whose sample this download brought.
        std::vector<LoggerSeconds> times;
        {
            SqliteStatement q(db_, sql::SamplesOfDownloadIn);
            q.Bind(1, logger).Bind(4, download);
            for (const auto& [id, run] : mine) {
                q.Bind(2, run.first).Bind(3, run.last);
                while (q.Step()) {
                    if (Holds(run, q.Int(0))) {
                        times.push_back(q.Int(0));
                    }
                }
                q.Reset();
            }
        }
        std::sort(times.begin(), times.end());
        times.erase(std::unique(times.begin(), times.end()), times.end());

        RemoveResult result;
        SqliteStatement promote(db_, sql::ConflictToPromote);
        SqliteStatement replace(db_, sql::ReplaceSample);
        SqliteStatement dropConflict(db_, sql::RemoveConflict);
        SqliteStatement credit(db_, sql::CreditSample);
        SqliteStatement remove(db_, sql::RemoveSample);
        promote.Bind(1, logger).Bind(3, download);
        replace.Bind(4, logger);
        dropConflict.Bind(1, logger);
        credit.Bind(2, logger);
        remove.Bind(1, logger);
        for (const auto time : times) {
            promote.Bind(2, time);
            if (promote.Step()) {
                // Another download held other values here: they stand now.
                const auto temperature = promote.Int(0);
                const auto humidity = promote.Int(1);
                const auto by = promote.Int(2);
                promote.Reset();
                replace.Bind(1, temperature).Bind(2, humidity).Bind(3, by).Bind(5, time);
                replace.Run();
                dropConflict.Bind(2, time).Bind(3, temperature).Bind(4, humidity);
                dropConflict.Run();
                ++result.samplesKept;
                continue;
            }
            promote.Reset();
            const auto holder = std::find_if(others.begin(), others.end(),
                                             [&](const auto& o) { return Holds(o.second, time); });
            if (holder != others.end()) {
                credit.Bind(1, holder->first).Bind(3, time);
                credit.Run();
                ++result.samplesKept;
            } else {
                remove.Bind(2, time);
                remove.Run();
                ++result.samplesRemoved;
            }
        }
        SqliteStatement conflicts(db_, sql::RemoveConflictsOfDownload);
        conflicts.Bind(1, logger).Bind(2, download);
        conflicts.Run();
        SqliteStatement runs(db_, sql::RemoveRunsOfDownload);
        runs.Bind(1, download);
        runs.Run();
        SqliteStatement row(db_, sql::RemoveDownload);
        row.Bind(1, download);
        row.Run();
        t.Commit();
        return result;
    }

    std::vector<Conflict> Conflicts(const std::string& logger) override {
        std::vector<Conflict> out;
        SqliteStatement q(db_, sql::ConflictList);
        q.Bind(1, logger).Bind(2, logger);
        while (q.Step()) {
            out.push_back(Conflict{q.Text(0),
                                   Sample{q.Int(1), static_cast<std::int32_t>(q.Int(2)),
                                          static_cast<std::int32_t>(q.Int(3))},
                                   q.Int(4)});
        }
        return out;
    }

    std::vector<EraseEvent> EraseEvents(const std::string& logger) override {
        std::vector<EraseEvent> out;
        SqliteStatement q(db_, sql::EraseList);
        q.Bind(1, logger).Bind(2, logger);
        while (q.Step()) {
            out.push_back(EraseEvent{q.Text(0), q.Int(1), q.Int(2) != 0});
        }
        return out;
    }

    std::optional<std::int64_t> FindDownload(const std::string& logger,
                                             const DownloadMeta& meta) override {
        SqliteStatement q(db_, sql::FindDownload);
        q.Bind(1, logger)
            .Bind(2, KindText(meta.kind))
            .Bind(3, std::int64_t{meta.storedAt})
            .Bind(4, meta.recordsReceived)
            .Bind(5, meta.sha256);
        if (q.Step()) {
            return q.Int(0);
        }
        return std::nullopt;
    }

private:
    // 0 for an empty file. Refuses a database of something else or of a newer program.
    int StoredVersion() {
        int version = 0;
        if (Single(db_, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = "
                        "'velkor_schema'") == 1) {
            version = SchemaVersion();
        } else if (Single(db_, "SELECT COUNT(*) FROM sqlite_master") > 0) {
            throw ArchiveError(ArchiveFault::NotAnArchive, "no velkor_schema table");
        }
        if (version > CurrentSchemaVersion) {
            throw ArchiveError(ArchiveFault::NewerSchema,
                               "schema version " + std::to_string(version));
        }
        return version;
    }

    // Under the write lock, so that of two programs opening a new archive at once one creates
    // it and the other finds it made.
    void Migrate() {
        Transaction t(db_);
        const int version = StoredVersion();
        if (version == CurrentSchemaVersion) {
            t.Commit();
            return;
        }
        for (const auto& statement : MigrationStatements(SqliteDialect(), version)) {
            Execute(db_, statement);
        }
        t.Commit();
    }

    void AddLogger(const std::string& id, std::optional<bool> humiditySensor) {
        std::optional<std::int64_t> sensor;
        if (humiditySensor) {
            sensor = *humiditySensor ? 1 : 0;
        }
        SqliteStatement add(db_, sql::AddLogger);
        add.Bind(1, id).Bind(2, sensor);
        add.Run();
        if (sensor) {
            SqliteStatement set(db_, sql::SetHumiditySensor);
            set.Bind(1, sensor).Bind(2, id);
            set.Run();
        }
    }

    // (download, run) pairs.
    std::vector<std::pair<std::int64_t, TimeRun>>
    Runs(std::string_view statement, std::int64_t download, const std::string& logger) {
        std::vector<std::pair<std::int64_t, TimeRun>> out;
        SqliteStatement q(db_, statement);
        if (logger.empty()) {
            q.Bind(1, download);
        } else {
            q.Bind(1, logger).Bind(2, download);
        }
        while (q.Step()) {
            out.emplace_back(q.Int(0), TimeRun{q.Int(1), q.Int(2), q.Int(3), q.Int(4)});
        }
        // The oldest download that holds a time is credited with it.
        std::sort(out.begin(), out.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        return out;
    }

    std::string path_;
    sqlite3* db_ = nullptr;
};

} // namespace

std::unique_ptr<Archive> OpenSqliteArchive(const std::string& path, int busyTimeoutMilliseconds) {
    return std::make_unique<SqliteArchive>(path, busyTimeoutMilliseconds);
}

} // namespace velkor::archive
