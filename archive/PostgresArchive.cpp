#include "archive/PostgresArchive.h"

#include "archive/Runs.h"
#include "archive/Schema.h"
#include "archive/postgres/PgConnection.h"
#include "archive/postgres/PgUrl.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>
#include <thread>

namespace velkor::archive {

namespace {

using Params = std::vector<std::optional<std::string>>;

constexpr int ReadChunkSamples = 65536;
// Any constant shared by every Velkor; the server's advisory locks are one per database.
constexpr long long MigrationLock = 0x56454c4b4f52; // "VELKOR"

// The view for dashboards: the logger's time as a timestamp without a zone, values in units.
constexpr std::string_view SamplesView =
    "CREATE OR REPLACE VIEW velkor_samples AS SELECT s.logger, l.label, "
    "TIMESTAMP '1970-01-01' + s.time * INTERVAL '1 second' AS time, "
    "(s.temperature / 10.0)::NUMERIC(6, 1) AS temperature_c, "
    "CASE WHEN l.humidity_sensor = 0 THEN NULL ELSE (s.humidity / 10.0)::NUMERIC(6, 1) END "
    "AS humidity_pct FROM samples s JOIN loggers l ON l.id = s.logger";

// The samples of one Store before they are merged.
constexpr std::string_view Incoming =
    "CREATE TEMPORARY TABLE IF NOT EXISTS velkor_incoming (seq BIGINT NOT NULL, time BIGINT NOT "
    "NULL, temperature INTEGER NOT NULL, humidity INTEGER NOT NULL) ON COMMIT DELETE ROWS";
// New times. Stores of one logger take turns (an advisory lock), so nobody adds its times
// between the look and the insert. With a time given twice, the first sample counts, as a
// sample-by-sample store would have it.
constexpr std::string_view AddNew =
    "INSERT INTO samples (logger, time, temperature, humidity, download) SELECT $1, time, "
    "temperature, humidity, $2 FROM velkor_incoming i WHERE NOT EXISTS (SELECT 1 FROM samples s "
    "WHERE s.logger = $1 AND s.time = i.time)";
constexpr std::string_view AddNewOfRepeated =
    "INSERT INTO samples (logger, time, temperature, humidity, download) SELECT $1, time, "
    "temperature, humidity, $2 FROM (SELECT DISTINCT ON (time) time, temperature, humidity FROM "
    "velkor_incoming ORDER BY time, seq) AS i WHERE NOT EXISTS (SELECT 1 FROM samples s WHERE "
    "s.logger = $1 AND s.time = i.time)";
// Every sample given that differs from what is archived now at its time. The samples just added
// are what was given, so the rest of the samples given were there already.
constexpr std::string_view CountConflicting =
    "SELECT COUNT(*) FROM velkor_incoming i JOIN samples s ON s.logger = $1 AND s.time = i.time "
    "WHERE i.temperature <> s.temperature OR i.humidity <> s.humidity";
constexpr std::string_view AddConflicts =
    "INSERT INTO conflicts (logger, time, temperature, humidity, download) SELECT DISTINCT $1, "
    "i.time, i.temperature, i.humidity, $2::BIGINT FROM velkor_incoming i JOIN samples s ON "
    "s.logger = $1 AND s.time = i.time WHERE i.temperature <> s.temperature OR i.humidity <> "
    "s.humidity ON CONFLICT (logger, time, temperature, humidity) DO NOTHING";

bool EachTimeOnce(std::span<const Sample> samples) {
    std::vector<LoggerSeconds> times;
    times.reserve(samples.size());
    for (const Sample& s : samples)
        times.push_back(s.time);
    if (!std::is_sorted(times.begin(), times.end()))
        std::sort(times.begin(), times.end());
    return std::adjacent_find(times.begin(), times.end()) == times.end();
}

std::optional<std::string> P(std::int64_t v) {
    return std::to_string(v);
}
std::optional<std::string> P(std::string_view v) {
    return std::string(v);
}
std::optional<std::string> P(std::optional<std::int64_t> v) {
    return v ? P(*v) : std::nullopt;
}

LoggerSeconds From(const Period& p) {
    return p.from.value_or(std::numeric_limits<LoggerSeconds>::min());
}
LoggerSeconds To(const Period& p) {
    return p.to.value_or(std::numeric_limits<LoggerSeconds>::max());
}

ArchiveFault FaultOf(const PgError& e) {
    switch (e.kind()) {
    case PgError::Kind::Credentials:
        return ArchiveFault::Authentication;
    case PgError::Kind::Unreachable:
    case PgError::Kind::Rejected:
    case PgError::Kind::Lost:
        return ArchiveFault::CannotOpen;
    case PgError::Kind::Statement:
        break;
    }
    const std::string& state = e.sqlState();
    if (state == "53100")
        return ArchiveFault::Full; // disk_full
    if (state == "25006" || state == "42501")
        return ArchiveFault::ReadOnly; // read-only transaction, no privilege
    if (state.starts_with("XX"))
        return ArchiveFault::Damaged; // data_corrupted, index_corrupted
    if (state == "55P03" || state == "40P01" || state == "40001")
        return ArchiveFault::Busy;
    return ArchiveFault::Other;
}

ArchiveError ToArchiveError(const PgError& e) {
    return ArchiveError(FaultOf(e), e.what());
}

// BEGIN ... COMMIT, rolled back unless committed (a lost connection has rolled back itself).
class Transaction {
public:
    explicit Transaction(PgConnection& c) : c_(c) { c_.exec("BEGIN"); }
    ~Transaction() {
        if (!done_) {
            try {
                c_.exec("ROLLBACK");
            } catch (const PgError&) {
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        c_.exec("COMMIT");
        done_ = true;
    }

private:
    PgConnection& c_;
    bool done_ = false;
};

class PostgresArchive final : public Archive {
public:
    PostgresArchive(const std::string& url, PostgresRetry retry)
        : url_(url), retry_(std::move(retry)) {
        Retried([&](PgConnection& c) { Migrate(c); });
    }

    std::string Location() const override { return WithoutPassword(url_); }

    int SchemaVersion() override {
        return Retried([&](PgConnection& c) {
            return static_cast<int>(c.exec(std::string(sql::SchemaVersion)).integer(0, 0));
        });
    }

    StoreCounts Store(const LoggerIdentity& logger, const DownloadMeta& meta,
                      std::span<const Sample> samples) override {
        // COPY's text form of the samples, numbered in the order given.
        std::string rows;
        rows.reserve(samples.size() * 32);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            (((((rows += std::to_string(i)) += '\t') += std::to_string(samples[i].time)) += '\t') +=
             std::to_string(samples[i].temperature)) += '\t';
            (rows += std::to_string(samples[i].humidity)) += '\n';
        }
        const std::vector<TimeRun> runs = RunsOf(samples);
        const bool eachTimeOnce = EachTimeOnce(samples);
        return Retried([&](PgConnection& c) {
            Transaction t(c);
            // One store of a logger at a time; other loggers' go on in parallel.
            c.exec("SELECT pg_advisory_xact_lock(hashtext($1))", {logger.id});
            AddLogger(c, logger.id, logger.humiditySensor);
            const auto settings = meta.settings;
            auto opt = [&](auto member) -> std::optional<std::string> {
                return settings ? P(static_cast<std::int64_t>((*settings).*member)) : std::nullopt;
            };
            StoreCounts counts;
            counts.download =
                c.exec(Sql(dialect_, sql::AddDownload) + " RETURNING id",
                       {logger.id, P(KindText(meta.kind)), P(meta.storedAt), meta.program,
                        meta.version, meta.port, meta.source, opt(&SettingsRead::clock),
                        opt(&SettingsRead::interval), opt(&SettingsRead::loggingStart),
                        opt(&SettingsRead::sampleCount), opt(&SettingsRead::batteryMillivolts),
                        P(meta.recordsExpected), P(meta.recordsReceived),
                        P(std::int64_t{meta.complete ? 1 : 0}), meta.sha256})
                    .integer(0, 0);
            const Params ids{logger.id, P(counts.download)};
            c.exec(std::string(Incoming));
            c.copyIn("COPY velkor_incoming (seq, time, temperature, humidity) FROM STDIN", rows);
            if (samples.size() > 10000)
                c.exec("ANALYZE velkor_incoming");
            counts.added =
                c.exec(std::string(eachTimeOnce ? AddNew : AddNewOfRepeated), ids).affected();
            const auto given = static_cast<std::int64_t>(samples.size());
            if (counts.added < given) {
                counts.conflicting =
                    c.exec(std::string(CountConflicting), {logger.id}).integer(0, 0);
                counts.alreadyThere = given - counts.added - counts.conflicting;
            }
            if (counts.conflicting > 0)
                c.exec(std::string(AddConflicts), ids);
            AddRuns(c, logger.id, counts.download, runs);
            c.exec(Sql(dialect_, sql::SetDownloadCounts),
                   {P(counts.added), P(counts.alreadyThere), P(counts.conflicting),
                    P(counts.download)});
            t.commit();
            return counts;
        });
    }

    void RecordErase(const EraseEvent& event) override {
        Retried([&](PgConnection& c) {
            Transaction t(c);
            AddLogger(c, event.logger, std::nullopt);
            c.exec(Sql(dialect_, sql::AddErase),
                   {event.logger, P(event.at), P(std::int64_t{event.confirmed ? 1 : 0})});
            t.commit();
        });
    }

    std::vector<LoggerSummary> Loggers() override {
        const PgResult r = Query(sql::LoggerList, {});
        std::vector<LoggerSummary> out;
        for (int i = 0; i < r.rows(); ++i) {
            LoggerSummary l;
            l.id = r.text(i, 0);
            if (auto h = r.optionalInteger(i, 1))
                l.humiditySensor = *h != 0;
            l.label = r.text(i, 2);
            l.samples = r.integer(i, 3);
            l.first = r.optionalInteger(i, 4);
            l.last = r.optionalInteger(i, 5);
            l.lastDownload = r.optionalInteger(i, 6);
            out.push_back(std::move(l));
        }
        return out;
    }

    void ReadSamples(const std::string& logger, const Period& period,
                     const SampleChunkSink& sink) override {
        // A chunk at a time, each from where the last ended: memory stays one chunk.
        LoggerSeconds from = From(period);
        const LoggerSeconds to = To(period);
        std::vector<StoredSample> chunk;
        for (;;) {
            const PgResult r = Query(std::string(sql::SamplesInPeriod) + " LIMIT ?",
                                     {logger, P(from), P(to), P(std::int64_t{ReadChunkSamples})});
            chunk.clear();
            for (int i = 0; i < r.rows(); ++i)
                chunk.push_back(
                    StoredSample{Sample{r.integer(i, 0), static_cast<std::int32_t>(r.integer(i, 1)),
                                        static_cast<std::int32_t>(r.integer(i, 2))},
                                 r.integer(i, 3)});
            if (!chunk.empty())
                sink(chunk);
            if (r.rows() < ReadChunkSamples || chunk.back().sample.time == to)
                return;
            from = chunk.back().sample.time + 1;
        }
    }

    std::int64_t CountSamples(const std::string& logger, const Period& period) override {
        return Query(sql::CountInPeriod, {logger, P(From(period)), P(To(period))}).integer(0, 0);
    }

    void SetLabel(const std::string& logger, const std::string& label) override {
        if (Query(sql::SetLabel, {label, logger}).affected() == 0)
            throw ArchiveError(ArchiveFault::NoSuchLogger, logger);
    }

    CheckResult Check() override {
        return Retried([&](PgConnection& c) {
            CheckResult r;
            // The server keeps its files consistent itself; what can go wrong here is rows
            // that point at nothing.
            const PgResult orphans = c.exec(
                "SELECT (SELECT COUNT(*) FROM samples s WHERE NOT EXISTS (SELECT 1 FROM downloads "
                "d WHERE d.id = s.download)), (SELECT COUNT(*) FROM conflicts s WHERE NOT EXISTS "
                "(SELECT 1 FROM downloads d WHERE d.id = s.download))");
            if (const auto n = orphans.integer(0, 0))
                r.problems.push_back(std::to_string(n) + " samples of no download");
            if (const auto n = orphans.integer(0, 1))
                r.problems.push_back(std::to_string(n) + " conflicts of no download");
            r.intact = r.problems.empty();
            r.schemaVersion =
                static_cast<int>(c.exec(std::string(sql::SchemaVersion)).integer(0, 0));
            r.loggers = c.exec(std::string(sql::CountLoggers)).integer(0, 0);
            r.downloads = c.exec(std::string(sql::CountDownloads)).integer(0, 0);
            r.samples = c.exec(std::string(sql::CountSamples)).integer(0, 0);
            r.conflicts = c.exec(std::string(sql::CountConflicts)).integer(0, 0);
            r.eraseEvents = c.exec(std::string(sql::CountEraseEvents)).integer(0, 0);
            return r;
        });
    }

    std::vector<DownloadSummary> Downloads(const std::string& logger) override {
        const PgResult q = Query(sql::DownloadList, {logger, logger});
        std::vector<DownloadSummary> out;
        for (int i = 0; i < q.rows(); ++i) {
            DownloadSummary d;
            d.id = q.integer(i, 0);
            d.logger = q.text(i, 1);
            d.meta.kind = KindOf(q.text(i, 2));
            d.meta.storedAt = q.integer(i, 3);
            d.meta.program = q.text(i, 4);
            d.meta.version = q.text(i, 5);
            d.meta.port = q.text(i, 6);
            d.meta.source = q.text(i, 7);
            if (!q.isNull(i, 8))
                d.meta.settings =
                    SettingsRead{q.integer(i, 8), q.integer(i, 9), q.integer(i, 10),
                                 q.integer(i, 11), static_cast<std::int32_t>(q.integer(i, 12))};
            d.meta.recordsExpected = q.integer(i, 13);
            d.meta.recordsReceived = q.integer(i, 14);
            d.meta.complete = q.integer(i, 15) != 0;
            d.meta.sha256 = q.text(i, 16);
            d.counts = StoreCounts{q.integer(i, 17), q.integer(i, 18), q.integer(i, 19), d.id};
            out.push_back(std::move(d));
        }
        return out;
    }

    RemoveResult RemoveDownload(std::int64_t download) override {
        return Retried([&](PgConnection& c) { return Remove(c, download); });
    }

    std::vector<Conflict> Conflicts(const std::string& logger) override {
        const PgResult q = Query(sql::ConflictList, {logger, logger});
        std::vector<Conflict> out;
        for (int i = 0; i < q.rows(); ++i)
            out.push_back(
                Conflict{q.text(i, 0),
                         Sample{q.integer(i, 1), static_cast<std::int32_t>(q.integer(i, 2)),
                                static_cast<std::int32_t>(q.integer(i, 3))},
                         q.integer(i, 4)});
        return out;
    }

    std::vector<EraseEvent> EraseEvents(const std::string& logger) override {
        const PgResult q = Query(sql::EraseList, {logger, logger});
        std::vector<EraseEvent> out;
        for (int i = 0; i < q.rows(); ++i)
            out.push_back(EraseEvent{q.text(i, 0), q.integer(i, 1), q.integer(i, 2) != 0});
        return out;
    }

    std::optional<std::int64_t> FindDownload(const std::string& logger,
                                             const DownloadMeta& meta) override {
        const PgResult q =
            Query(sql::FindDownload, {logger, P(KindText(meta.kind)), P(meta.storedAt),
                                      P(meta.recordsReceived), meta.sha256});
        if (q.rows() == 0)
            return std::nullopt;
        return q.integer(0, 0);
    }

private:
    // Runs `work` on the connection, connecting first when there is none. A server that cannot
    // be reached and a connection lost midway are tried again after a wait; `work` runs whole
    // each time, its transaction having been rolled back with the lost connection.
    template <class Work> auto Retried(Work work) -> decltype(work(std::declval<PgConnection&>())) {
        for (std::size_t attempt = 0;; ++attempt) {
            try {
                if (!connection_)
                    connection_ = std::make_unique<PgConnection>(url_);
                return work(*connection_);
            } catch (const PgError& e) {
                if (!e.retriable() || attempt >= retry_.waitsMilliseconds.size())
                    throw ToArchiveError(e);
                connection_.reset();
                const int wait = retry_.waitsMilliseconds[attempt];
                if (retry_.sleep)
                    retry_.sleep(wait);
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
            }
        }
    }

    // One statement of the shared ones, outside a transaction.
    PgResult Query(std::string_view statement, const Params& params) {
        return Retried([&](PgConnection& c) { return c.exec(Sql(dialect_, statement), params); });
    }

    void Migrate(PgConnection& c) {
        Transaction t(c);
        // Many programs may open a new database at once: one creates the tables.
        c.exec("SELECT pg_advisory_xact_lock(" + std::to_string(MigrationLock) + ")");
        int version = 0;
        if (c.exec("SELECT to_regclass('velkor_schema') IS NOT NULL").text(0, 0) == "t") {
            version = static_cast<int>(c.exec(std::string(sql::SchemaVersion)).integer(0, 0));
        } else if (c.exec("SELECT to_regclass('samples') IS NOT NULL OR to_regclass('loggers') "
                          "IS NOT NULL OR to_regclass('downloads') IS NOT NULL")
                       .text(0, 0) == "t") {
            throw ArchiveError(ArchiveFault::NotAnArchive,
                               "PostgreSQL " + c.server() + ", database " + c.database() +
                                   ": tables of another program and no velkor_schema");
        }
        if (version > CurrentSchemaVersion)
            throw ArchiveError(ArchiveFault::NewerSchema,
                               "schema version " + std::to_string(version));
        if (version < CurrentSchemaVersion) {
            for (const std::string& statement : MigrationStatements(dialect_, version))
                c.exec(statement);
            c.exec(std::string(SamplesView));
        }
        t.commit();
    }

    void AddLogger(PgConnection& c, const std::string& id, std::optional<bool> humiditySensor) {
        std::optional<std::int64_t> sensor;
        if (humiditySensor)
            sensor = *humiditySensor ? 1 : 0;
        c.exec(Sql(dialect_, sql::AddLogger), {id, P(sensor)});
        if (sensor)
            c.exec(Sql(dialect_, sql::SetHumiditySensor), {P(sensor), id});
    }

    // An import of an irregular file may have many runs: a thousand rows a statement.
    void AddRuns(PgConnection& c, const std::string& logger, std::int64_t download,
                 const std::vector<TimeRun>& runs) {
        constexpr std::size_t Batch = 1000;
        for (std::size_t begin = 0; begin < runs.size(); begin += Batch) {
            std::string statement =
                "INSERT INTO download_runs (download, logger, first, last, step, count) VALUES ";
            const std::string head = "(" + std::to_string(download) + ", $1, ";
            for (std::size_t i = begin; i < std::min(runs.size(), begin + Batch); ++i) {
                const TimeRun& r = runs[i];
                statement += (i > begin ? ", " : "") + head + std::to_string(r.first) + ", " +
                             std::to_string(r.last) + ", " + std::to_string(r.step) + ", " +
                             std::to_string(r.count) + ")";
            }
            c.exec(statement, {logger});
        }
    }

    // (download, run) pairs, the oldest download first: it is credited with a time it holds.
    std::vector<std::pair<std::int64_t, TimeRun>> Runs(PgConnection& c, std::string_view statement,
                                                       const Params& params) {
        const PgResult q = c.exec(Sql(dialect_, statement), params);
        std::vector<std::pair<std::int64_t, TimeRun>> out;
        for (int i = 0; i < q.rows(); ++i)
            out.emplace_back(q.integer(i, 0), TimeRun{q.integer(i, 1), q.integer(i, 2),
                                                      q.integer(i, 3), q.integer(i, 4)});
        std::sort(out.begin(), out.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        return out;
    }

    // The SQLite archive's removal, statement for statement.
    RemoveResult Remove(PgConnection& c, std::int64_t download) {
        Transaction t(c);
        const PgResult owner = c.exec(Sql(dialect_, sql::LoggerOfDownload), {P(download)});
        if (owner.rows() == 0)
            throw ArchiveError(ArchiveFault::NoSuchDownload, std::to_string(download));
        const std::string logger = owner.text(0, 0);
        c.exec("SELECT pg_advisory_xact_lock(hashtext($1))", {logger});
        const auto mine = Runs(c, sql::RunsOfDownload, {P(download)});
        const auto others = Runs(c, sql::OtherRunsOfLogger, {logger, P(download)});

        std::vector<LoggerSeconds> times;
        for (const auto& [id, run] : mine) {
            const PgResult q = c.exec(Sql(dialect_, sql::SamplesOfDownloadIn),
                                      {logger, P(run.first), P(run.last), P(download)});
            for (int i = 0; i < q.rows(); ++i)
                if (Holds(run, q.integer(i, 0)))
                    times.push_back(q.integer(i, 0));
        }
        std::sort(times.begin(), times.end());
        times.erase(std::unique(times.begin(), times.end()), times.end());

        RemoveResult result;
        for (const LoggerSeconds time : times) {
            const PgResult promote =
                c.exec(Sql(dialect_, sql::ConflictToPromote), {logger, P(time), P(download)});
            if (promote.rows() > 0) {
                // Another download held other values here: they stand now.
                const auto temperature = promote.integer(0, 0);
                const auto humidity = promote.integer(0, 1);
                c.exec(Sql(dialect_, sql::ReplaceSample),
                       {P(temperature), P(humidity), P(promote.integer(0, 2)), logger, P(time)});
                c.exec(Sql(dialect_, sql::RemoveConflict),
                       {logger, P(time), P(temperature), P(humidity)});
                ++result.samplesKept;
                continue;
            }
            const auto holder = std::find_if(others.begin(), others.end(),
                                             [&](const auto& o) { return Holds(o.second, time); });
            if (holder != others.end()) {
                c.exec(Sql(dialect_, sql::CreditSample), {P(holder->first), logger, P(time)});
                ++result.samplesKept;
            } else {
                c.exec(Sql(dialect_, sql::RemoveSample), {logger, P(time)});
                ++result.samplesRemoved;
            }
        }
        c.exec(Sql(dialect_, sql::RemoveConflictsOfDownload), {logger, P(download)});
        c.exec(Sql(dialect_, sql::RemoveRunsOfDownload), {P(download)});
        c.exec(Sql(dialect_, sql::RemoveDownload), {P(download)});
        t.commit();
        return result;
    }

    std::string url_;
    PostgresRetry retry_;
    Dialect dialect_ = PostgresDialect();
    std::unique_ptr<PgConnection> connection_;
};

} // namespace

std::unique_ptr<Archive> OpenPostgresArchive(const std::string& url, PostgresRetry retry) {
    return std::make_unique<PostgresArchive>(url, std::move(retry));
}

} // namespace velkor::archive
