// The SQLite archive: the shared tests on a real file, and what only a file can show: the
// migration, a file that is no archive, a second writer, a crash in the middle of an import.
#include "archive/SqliteArchive.h"
#include "archive/Schema.h"
#include "tests/archive/ArchiveFixture.h"

#include <sqlite3.h>

#include <csignal>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace velkor::testing {
namespace {

using archive::ArchiveError;
using archive::ArchiveFault;

const ArchiveBackend Sqlite{"SQLite", [](const std::filesystem::path& folder) {
                                // A folder that does not exist yet: the archive creates it.
                                return (folder / "velkor" / "archive.sqlite").string();
                            }};

INSTANTIATE_TEST_SUITE_P(SQLite, ArchiveTest, ::testing::Values(Sqlite), PrintBackend);

// The database file by itself, for what the archive cannot do to itself.
class RawDb {
public:
    explicit RawDb(const std::filesystem::path& path) {
        EXPECT_EQ(sqlite3_open(path.string().c_str(), &db_), SQLITE_OK);
        sqlite3_busy_timeout(db_, 10000);
    }
    ~RawDb() { sqlite3_close(db_); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;
    void Exec(const std::string& sql) {
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << sql << ": " << (error ? error : "");
        sqlite3_free(error);
    }
    std::string Text(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr);
        std::string out;
        if (sqlite3_step(s) == SQLITE_ROW) {
            out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        }
        sqlite3_finalize(s);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};

ArchiveFault FaultOpening(const std::string& path) {
    try {
        archive::OpenSqliteArchive(path, 200);
    } catch (const ArchiveError& e) {
        return e.Fault();
    }
    ADD_FAILURE() << "opened " << path;
    return ArchiveFault::Other;
}

std::string RandomBytes(std::size_t n) {
    std::mt19937 random(20);
    std::string out(n, '\0');
    for (auto& c : out) {
        c = static_cast<char>(random());
    }
    return out;
}

struct OpenFaultCase {
    const char* name;
    std::function<std::filesystem::path(const TempFolder&)> make;
    ArchiveFault fault;
};

TEST(SqliteArchive, RefusesWhatIsNoArchiveAndLeavesItAsItWas) {
    const OpenFaultCase cases[] = {
        {"RandomBytes", [](const TempFolder& f) { return f.file("a.sqlite", RandomBytes(8192)); },
         ArchiveFault::NotAnArchive},
        {"AnotherProgramsDatabase",
         [](const TempFolder& f) {
             const auto p = f / "a.sqlite";
             RawDb(p).Exec("CREATE TABLE notes (text TEXT)");
             return p;
         },
         ArchiveFault::NotAnArchive},
        {"ANewerSchema",
         [](const TempFolder& f) {
             const auto p = f / "a.sqlite";
             RawDb(p).Exec("CREATE TABLE velkor_schema (version INTEGER NOT NULL); INSERT INTO "
                           "velkor_schema VALUES (99)");
             return p;
         },
         ArchiveFault::NewerSchema},
        {"AFolder",
         [](const TempFolder& f) {
             std::filesystem::create_directory(f / "a.sqlite");
             return f / "a.sqlite";
         },
         ArchiveFault::CannotOpen},
        {"BelowAFile", [](const TempFolder& f) { return f.file("plain", "text") / "a.sqlite"; },
         ArchiveFault::CannotOpen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto path = c.make(folder);
        const auto before = std::filesystem::is_regular_file(path) ? Slurp(path) : "";
        EXPECT_EQ(FaultOpening(path.string()), c.fault);
        if (std::filesystem::is_regular_file(path)) {
            EXPECT_TRUE(Slurp(path) == before) << "the file was changed";
        }
    }
}

TEST(SqliteArchive, ASecondWriterWaitsThenReportsBusy) {
    TempFolder folder;
    const auto path = folder / "a.sqlite";
    auto a = archive::OpenSqliteArchive(path.string(), 200);
    RawDb other(path);
    other.Exec("BEGIN IMMEDIATE");
    try {
        a->Store({"RTW00001", true}, Meta(), Samples(Jan2024, 60, 10));
        ADD_FAILURE() << "stored past a held lock";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.Fault(), ArchiveFault::Busy);
    }
    other.Exec("ROLLBACK");
    EXPECT_EQ(a->Store({"RTW00001", true}, Meta(), Samples(Jan2024, 60, 10)).added, 10);
}

TEST(SqliteArchive, CheckFindsDamage) {
    TempFolder folder;
    const auto path = folder / "a.sqlite";
    {
        auto a = archive::OpenSqliteArchive(path.string());
        a->Store({"RTW00001", true}, Meta(), Samples(Jan2024, 60, 20000));
    }
    // Overwrite pages in the middle of the file (the WAL was checkpointed at close).
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(8 * 4096);
        const auto junk = RandomBytes(16 * 4096);
        f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    try {
        const auto c = archive::OpenSqliteArchive(path.string())->Check();
        EXPECT_FALSE(c.intact);
        EXPECT_FALSE(c.problems.empty());
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.Fault(), ArchiveFault::Damaged) << e.what();
    }
}

// Version 1 had no download_runs: a download held what the samples credit to it, and every
// time of its span (the times it held besides were not kept then).
TEST(SqliteArchive, MigratesTheFirstVersion) {
    TempFolder folder;
    const auto path = folder / "a.sqlite";
    const auto first = Samples(Jan2024, 60, 100);
    const auto second = Samples(Jan2024 + 50 * 60, 60, 100);
    {
        RawDb db(path);
        for (const auto& s : archive::SchemaOfVersion(archive::SqliteDialect(), 1)) {
            db.Exec(s);
        }
        db.Exec("INSERT INTO loggers VALUES ('RTW00001', 1, 'old')");
        for (int id : {1, 2}) {
            db.Exec(
                "INSERT INTO downloads VALUES (" + std::to_string(id) +
                ", 'RTW00001', 'download', 1, 'velkor-cli', '1.0.0', 'COM1', '', 0, 60, 0, 3000, "
                "100, 100, 100, 1, '', 0, 0, 0)");
        }
        std::string insert = "INSERT INTO samples VALUES ";
        for (const auto* part : {&first, &second}) {
            for (const auto& s : *part) {
                if (part == &second && s.time < Jan2024 + 100 * 60) {
                    continue; // archived already from the first
                }
                insert += "('RTW00001', " + std::to_string(s.time) + ", " +
                          std::to_string(s.temperature) + ", " + std::to_string(s.humidity) + ", " +
                          (part == &first ? "1" : "2") + "),";
            }
        }
        insert.pop_back();
        db.Exec(insert);
    }
    auto a = archive::OpenSqliteArchive(path.string());
    EXPECT_EQ(a->SchemaVersion(), archive::CurrentSchemaVersion);
    EXPECT_EQ(a->Loggers().at(0).label, "old");
    EXPECT_EQ(a->CountSamples("RTW00001", {}), 150);

    // The second download is known to have held only what was credited to it.
    const auto r = a->RemoveDownload(1);
    EXPECT_EQ(r.samplesRemoved, 100);
    EXPECT_EQ(r.samplesKept, 0);
    EXPECT_EQ(a->Samples("RTW00001", {}), std::vector(second.begin() + 50, second.end()));
    // What is stored after the migration is kept exactly.
    a->Store({"RTW00001", true}, Meta(), first);
    EXPECT_EQ(a->RemoveDownload(2).samplesKept, 0);
    EXPECT_EQ(a->Samples("RTW00001", {}), first);
    EXPECT_TRUE(a->Check().intact);
}

// A child process that stores `samples`; it signals on `ready` just before.
pid_t StoreInChild(const std::string& path, const std::string& logger,
                   const std::vector<archive::Sample>& samples, int ready = -1) {
    const pid_t pid = fork();
    if (pid == 0) {
        try {
            auto a = archive::OpenSqliteArchive(path);
            if (ready >= 0) {
                const char byte = 1;
                (void)!write(ready, &byte, 1);
            }
            a->Store({logger, true}, Meta(), samples);
            _exit(0);
        } catch (...) {
            _exit(1);
        }
    }
    return pid;
}

TEST(SqliteArchive, KillDuringAnImportKeepsAllOrNone) {
    TempFolder folder;
    const auto path = (folder / "a.sqlite").string();
    const auto samples = Samples(Jan2024, 60, 1'000'000);
    archive::OpenSqliteArchive(path)->Store({"RTW00001", true}, Meta(), Samples(0, 60, 10));
    std::set<std::int64_t> seen;
    for (const int delayMs : {0, 50, 200, 500, 1000, 3000}) {
        SCOPED_TRACE(delayMs);
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = StoreInChild(path, "RTW00002", samples, pipeEnds[1]);
        char byte = 0;
        ASSERT_EQ(read(pipeEnds[0], &byte, 1), 1);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        usleep(static_cast<useconds_t>(delayMs) * 1000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        auto a = archive::OpenSqliteArchive(path);
        const auto check = a->Check();
        EXPECT_TRUE(check.intact);
        const auto held = a->CountSamples("RTW00002", {});
        EXPECT_TRUE(held == 0 || held == 1'000'000) << held;
        EXPECT_EQ(a->CountSamples("RTW00001", {}), 10);
        seen.insert(held);
        if (held != 0) {
            const auto r = a->RemoveDownload(a->Downloads("RTW00002").back().id);
            EXPECT_EQ(r.samplesRemoved, 1'000'000);
        }
    }
    // The kills landed before and after the commit, or the test shows nothing.
    EXPECT_TRUE(seen.count(0));
}

TEST(SqliteArchive, TwoWritersAtOnceBothSucceedWithoutDuplicates) {
    TempFolder folder;
    const auto path = (folder / "a.sqlite").string();
    archive::OpenSqliteArchive(path); // created before, as the window would have it
    const pid_t a = StoreInChild(path, "RTW00001", Samples(Jan2024, 60, 200'000));
    const pid_t b = StoreInChild(path, "RTW00001", Samples(Jan2024 + 60 * 100'000, 60, 200'000));
    for (const pid_t child : {a, b}) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto archive = archive::OpenSqliteArchive(path);
    EXPECT_EQ(archive->CountSamples("RTW00001", {}), 300'000);
    std::int64_t added = 0, already = 0;
    for (const auto& d : archive->Downloads("RTW00001")) {
        added += d.counts.added;
        already += d.counts.alreadyThere;
    }
    EXPECT_EQ(added, 300'000);
    EXPECT_EQ(already, 100'000);
}

} // namespace
} // namespace velkor::testing
