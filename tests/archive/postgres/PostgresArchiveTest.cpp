// The PostgreSQL archive: the tests every backend passes, on a database of its own on the test
// server, and what only a server shows: the migration's one transaction, the dashboards' view,
// the retries of a server that is gone and of a connection lost.
#include "archive/PostgresArchive.h"
#include "archive/Schema.h"
#include "archive/postgres/PgConnection.h"
#include "tests/archive/ArchiveFixture.h"
#include "tests/archive/postgres/PgTestDatabase.h"

#include <memory>

namespace velkor::testing {
namespace {

using archive::ArchiveError;
using archive::ArchiveFault;
using archive::PgConnection;

// The databases stay until the test server is thrown away at the end of the run.
const ArchiveBackend Postgres{"PostgreSQL", [](const std::filesystem::path&) -> std::string {
                                  if (!TestServerUrl())
                                      return {}; // skipped
                                  return OnDatabase(TestServerUrl(), CreateTestDatabase());
                              }};

INSTANTIATE_TEST_SUITE_P(PostgreSQL, ArchiveTest, ::testing::Values(Postgres), PrintBackend);

// An archive of the first schema version with two downloads of one logger.
void CreateFirstVersion(PgConnection& db) {
    for (const auto& s : archive::SchemaOfVersion(archive::PostgresDialect(), 1))
        db.exec(s);
    db.exec("INSERT INTO loggers VALUES ('RTW00001', 1, 'old')");
    for (int id : {1, 2})
        db.exec("INSERT INTO downloads OVERRIDING SYSTEM VALUE VALUES (" + std::to_string(id) +
                ", 'RTW00001', 'download', 1, 'velkor-cli', '1.0.0', 'COM1', '', 0, 60, 0, 100, "
                "3000, 100, 100, 1, '', 0, 0, 0)");
    db.exec("INSERT INTO samples SELECT 'RTW00001', " + std::to_string(Jan2024) +
            " + 60 * i, i, i, CASE WHEN i < 100 THEN 1 ELSE 2 END FROM generate_series(0, 149) i");
}

TEST(PostgresArchive, MigratesTheFirstVersionInOneTransaction) {
    VELKOR_NEEDS_POSTGRES();
    const struct {
        const char* name;
        const char* obstacle; // in the way of the migration's last step, or none
        int version;          // after opening
    } cases[] = {
        {"migrated", nullptr, archive::CurrentSchemaVersion},
        {"left as it was", "CREATE INDEX download_runs_download ON downloads (port)", 1},
    };
    for (const auto& c : cases) {
        PgTestDatabase database;
        PgConnection db(database.url());
        CreateFirstVersion(db);
        if (c.obstacle)
            db.exec(c.obstacle);
        try {
            auto a = archive::OpenArchive(database.url());
            EXPECT_EQ(a->SchemaVersion(), c.version) << c.name;
            // The runs built from the samples: removing the second download takes only its own.
            EXPECT_EQ(a->RemoveDownload(2).samplesRemoved, 50) << c.name;
            EXPECT_EQ(a->CountSamples("RTW00001", {}), 100) << c.name;
        } catch (const ArchiveError& e) {
            EXPECT_NE(c.version, archive::CurrentSchemaVersion) << c.name << ": " << e.what();
        }
        EXPECT_EQ(db.exec("SELECT version FROM velkor_schema").integer(0, 0), c.version) << c.name;
        EXPECT_EQ(db.exec("SELECT to_regclass('download_runs') IS NULL").text(0, 0),
                  c.version == 1 ? "t" : "f")
            << c.name;
    }
}

TEST(PostgresArchive, TheDashboardViewShowsTimesAndUnits) {
    VELKOR_NEEDS_POSTGRES();
    PgTestDatabase database;
    auto a = archive::OpenArchive(database.url());
    const std::vector<archive::Sample> first{{Jan2024 + 61, -15, 503}}, second{{Jan2024, 1234, 0}};
    a->Store({"RTW00001", true}, Meta(), first);
    a->Store({"RTW00002", false}, Meta(), second);
    a->SetLabel("RTW00001", "Chłodnia 2");
    const auto rows = PgConnection(database.url())
                          .exec("SELECT logger, label, time::TEXT, temperature_c::TEXT, "
                                "humidity_pct::TEXT FROM velkor_samples ORDER BY logger");
    ASSERT_EQ(rows.rows(), 2);
    const std::vector<std::vector<std::string>> expected{
        {"RTW00001", "Chłodnia 2", "2024-01-01 00:01:01", "-1.5", "50.3"},
        {"RTW00002", "", "2024-01-01 00:00:00", "123.4", ""}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(rows.text(r, c), expected[r][c]) << r << "," << c;
    EXPECT_TRUE(rows.isNull(1, 4));
}

// A server that is gone is tried three times, with the waits between; a lost connection is
// made again and the store done once.
TEST(PostgresArchive, RetriesAServerGoneAndALostConnection) {
    VELKOR_NEEDS_POSTGRES();
    PgTestDatabase database;
    std::vector<int> waits;
    archive::PostgresRetry retry{{2000, 8000}, [&](int ms) { waits.push_back(ms); }};

    const std::string gone = "postgresql://velkor@127.0.0.1:1/velkor_test";
    try {
        archive::OpenPostgresArchive(gone, retry);
        ADD_FAILURE() << "opened";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.Fault(), ArchiveFault::CannotOpen);
        EXPECT_NE(std::string(e.what()).find("127.0.0.1:1"), std::string::npos) << e.what();
    }
    EXPECT_EQ(waits, (std::vector<int>{2000, 8000}));

    waits.clear();
    auto a = archive::OpenPostgresArchive(database.url(), retry);
    PgConnection(database.url())
        .exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
              "current_database() AND pid <> pg_backend_pid()");
    const auto samples = Samples(Jan2024, 60, 100);
    EXPECT_EQ(a->Store({"RTW00001", true}, Meta(), samples).added, 100);
    EXPECT_EQ(waits, (std::vector<int>{2000}));
    EXPECT_EQ(a->Samples("RTW00001", {}), samples);
    EXPECT_EQ(a->Downloads("RTW00001").size(), 1u);
}

} // namespace
} // namespace velkor::testing
