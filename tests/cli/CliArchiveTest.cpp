// The archive from velkor-cli, against the simulated logger over a pseudo-terminal: downloads
// merge into it, a broken download keeps its records, a broken archive never costs the data
// file, and erase protects what the archive lacks.

#include "tests/cli/CliFixture.h"

#include "archive/Archive.h"
#include "cli/Cli.h"
#include "platform/Sha256.h"

#include <random>

namespace velkor::testing {
namespace {

using sim::MakeDateTime;

class CliArchive : public CliOverPty {
protected:
    // The logger holds `records`, taken from the first one on; its clock is long past them.
    void Holds(const std::vector<cmd::LogRecord>& records,
               const std::string& identification = "RTW01234\r", double start = March) {
        logger.changeState([&](sim::LoggerState& s) {
            s.identification = identification;
            s.records = records;
            s.sampleCount = static_cast<std::uint32_t>(records.size());
            s.loggingStart = start;
            s.intervalSeconds = 600;
            s.clock = MakeDateTime(2024, 6, 1);
        });
    }
    std::unique_ptr<archive::Archive> Archive() const {
        return archive::OpenArchive((home / "velkor" / "archive.sqlite").string());
    }
    static std::string Counts(int added, int already, int conflicting) {
        return "Archive: new samples: " + std::to_string(added) +
               ", already there: " + std::to_string(already) +
               ", conflicting: " + std::to_string(conflicting) + ".\n";
    }
    std::string File(const std::string& name) const { return (home / name).string(); }

    static constexpr double March = 45352.0; // 2024-03-01 00:00:00
    const std::vector<cmd::LogRecord> log = sim::GenerateLog(120, March, 600);
};

std::vector<cmd::LogRecord> Part(const std::vector<cmd::LogRecord>& log, std::size_t from,
                                 std::size_t count) {
    return {log.begin() + static_cast<std::ptrdiff_t>(from),
            log.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

TEST_F(CliArchive, OverlappingDownloadsGiveTheUnionOnceBesideASecondLogger) {
    const struct {
        const char* name;
        std::vector<cmd::LogRecord> records; // from March on
        std::string identification;
        std::string summary;
    } steps[] = {
        {"first", Part(log, 0, 60), "RTW01234\r", Counts(60, 0, 0)},
        {"overlapping", Part(log, 0, 90), "RTW01234\r", Counts(30, 60, 0)},
        {"the same again", Part(log, 0, 90), "RTW01234\r", Counts(0, 90, 0)},
        {"a second logger", Part(log, 0, 40), "RTT05678\r", Counts(40, 0, 0)},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        Holds(step.records, step.identification);
        const CliRun run = Run({"download", "-o", File("logger.txt")});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(run.err.ends_with(step.summary)) << run.err;
    }

    // The union, once: what one download of all 90 records writes.
    Holds(Part(log, 0, 90));
    ASSERT_EQ(Run({"download", "-o", File("all.txt"), "--no-archive"}).code, 0);
    const CliRun exported = Run({"archive", "export", "--logger", "RTW01234"});
    EXPECT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(exported.out, Slurp(File("all.txt")));

    const CliRun list = Run({"archive", "list", "--json"});
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_TRUE(list.out.starts_with(
        "[{\"logger\": \"RTT05678\", \"label\": \"\", \"first\": \"2024-03-01 00:00:00\", "
        "\"last\": \"2024-03-01 06:30:00\", \"samples\": 40, \"last_download\": \""))
        << list.out;
    EXPECT_NE(list.out.find("{\"logger\": \"RTW01234\", \"label\": \"\", \"first\": \"2024-03-01 "
                            "00:00:00\", \"last\": \"2024-03-01 14:50:00\", \"samples\": 90"),
              std::string::npos)
        << list.out;
}

TEST_F(CliArchive, AnImportOfAnOldDataFileFillsInTheHistory) {
    // February's file, kept by hand before the archive existed, and one line the reader refuses.
    const double february = MakeDateTime(2024, 2, 1);
    Holds(sim::GenerateLog(50, february, 600, 9), "RTW01234\r", february);
    ASSERT_EQ(Run({"download", "-o", File("february.txt"), "--no-archive"}).code, 0);
    Holds(Part(log, 0, 30));
    ASSERT_EQ(Run({"download", "-o", File("march.txt")}).code, 0);

    const struct {
        const char* name;
        std::string file;
        int code;
        std::string err;
    } imports[] = {
        {"old file", File("february.txt"), 0, Counts(50, 0, 0)},
        {"again", File("february.txt"), 0, Counts(0, 50, 0)},
        {"a bad line", File("bad.txt"), 3,
         Counts(0, 1, 0) + "Bad lines left out: 1, the first is line 2.\n"},
        {"no data", File("empty.txt"), 2,
         "velkor-cli: File " + File("empty.txt") + " holds no logger data.\n"},
    };
    const std::string first = Slurp(File("february.txt"));
    std::ofstream(File("bad.txt"), std::ios::binary)
        << first.substr(0, first.find('\n') + 1) << "2\t2024-13-01 00:00:00\t+020.0\t50.0\r\n";
    std::ofstream(File("empty.txt"), std::ios::binary) << "text, no data\r\n";
    for (const auto& i : imports) {
        SCOPED_TRACE(i.name);
        const CliRun run = Run({"archive", "import", i.file, "--logger", "RTW01234"});
        EXPECT_EQ(run.code, i.code);
        EXPECT_EQ(run.err, i.err);
    }
    const auto loggers = Archive()->Loggers();
    ASSERT_EQ(loggers.size(), 1u);
    EXPECT_EQ(loggers[0].samples, 80);
    EXPECT_EQ(loggers[0].first, archive::FromDayCount(MakeDateTime(2024, 2, 1)));

    // Taken out again: what another download held stays, March stays.
    const auto downloads = Archive()->Downloads("RTW01234");
    ASSERT_EQ(downloads.size(), 4u);
    const struct {
        std::int64_t id;
        std::string err;
    } removals[] = {
        {downloads[1].id, "Download 2 removed: samples removed: 0, kept (held by other "
                          "downloads): 50.\n"},
        {downloads[2].id, "Download 3 removed: samples removed: 49, kept (held by other "
                          "downloads): 1.\n"},
    };
    for (const auto& r : removals) {
        const CliRun removed = Run({"archive", "remove", "--download", std::to_string(r.id)});
        EXPECT_EQ(removed.code, 0);
        EXPECT_EQ(removed.err, r.err);
    }
    EXPECT_EQ(Archive()->CountSamples("RTW01234", {}), 31);
}

TEST_F(CliArchive, ADownloadThatVanishesAfterThreeBlocksKeepsItsRecords) {
    const double february = MakeDateTime(2024, 2, 1);
    Holds(sim::GenerateLog(30, february, 600, 9), "RTW01234\r", february);
    ASSERT_EQ(Run({"download", "-o", File("february.txt")}).code, 0);
    Holds(Part(log, 0, 120));
    sim::Faults vanish;
    vanish.vanishAfterBlocks = 3;
    logger.setFaults(vanish);

    const CliRun run = Run({"download", "-o", File("march.txt")});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.ends_with("The logger stopped answering. 75 of 120 samples were received "
                                  "and saved in " +
                                  File("march.txt") + ".\n" + Counts(75, 0, 0)))
        << run.err;
    EXPECT_EQ(Archive()->CountSamples("RTW01234", {}), 105);
    const auto downloads = Archive()->Downloads("RTW01234");
    ASSERT_EQ(downloads.size(), 2u);
    EXPECT_FALSE(downloads[1].meta.complete);
    EXPECT_EQ(downloads[1].meta.recordsReceived, 75);
    EXPECT_EQ(downloads[1].meta.sha256, Sha256OfFile(File("march.txt")));
}

TEST_F(CliArchive, AnArchiveThatCannotBeWrittenStillLeavesTheDataFile) {
    std::string noise(8192, '\0');
    std::mt19937 random(3);
    for (auto& c : noise) {
        c = static_cast<char>(random());
    }
    std::ofstream(File("noise.sqlite"), std::ios::binary) << noise;
    std::filesystem::create_directory(home / "folder.sqlite");
    const struct {
        const char* name;
        std::string archive;
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {"random bytes",
         File("noise.sqlite"),
         {},
         "velkor-cli: The archive " + File("noise.sqlite") +
             " could not be written: the file is not an archive of this program (file is not a "
             "database)\n"},
        {"a folder",
         File("folder.sqlite"),
         {"--lang", "pl"},
         "velkor-cli: Nie udało się zapisać archiwum " + File("folder.sqlite") +
             ": nie można go otworzyć ani utworzyć (unable to open database file)\n"},
    };
    Holds(Part(log, 0, 60));
    ASSERT_EQ(Run({"download", "-o", File("window.txt"), "--no-archive"}).code, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"download", "-o", File("logger.txt"), "--archive",
                                         c.archive};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = Run(args);
        EXPECT_EQ(run.code, 5);
        EXPECT_TRUE(run.err.ends_with(c.err)) << run.err;
        EXPECT_EQ(Slurp(File("logger.txt")), Slurp(File("window.txt")));
    }
    EXPECT_EQ(Slurp(File("noise.sqlite")), noise);
}

TEST_F(CliArchive, EraseRefusesWhileTheLoggerHoldsSamplesTheArchiveLacks) {
    const auto never = [] { return false; };
    const auto always = [] { return true; };
    const struct {
        const char* name;
        std::function<bool()> downloadInterrupted; // empty: no download before
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {"nothing archived",
         {},
         {"erase", "--yes"},
         6,
         "velkor-cli: Not erased: the logger holds samples the archive lacks (samples outside "
         "the archive: 120). Download them first, or erase anyway with --force.\n"},
        {"the first block archived",
         always,
         {"erase", "--yes", "--lang", "pl"},
         6,
         "velkor-cli: Nie skasowano: rejestrator ma próbki, których brak w archiwum (próbek "
         "spoza archiwum: 95). Najpierw je pobierz albo skasuj mimo to z --force.\n"},
        {"everything archived", never, {"erase", "--yes"}, 0, "Memory erased.\n"},
        {"forced", {}, {"erase", "--yes", "--force"}, 0, "Memory erased.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Holds(log);
        // Each case with an archive of its own.
        const std::string archive = File(std::string(c.name) + ".sqlite");
        if (c.downloadInterrupted) {
            ASSERT_NE(Run({"download", "-o", File("logger.txt"), "--archive", archive}, false,
                          c.downloadInterrupted)
                          .code,
                      2);
        }
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--archive", archive});
        const CliRun run = Run(args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(logger.state().records.empty(), c.code == 0);
        const auto erases = archive::OpenArchive(archive)->EraseEvents("RTW01234");
        EXPECT_EQ(erases.size(), c.code == 0 ? 1u : 0u);
    }
}

TEST_F(CliArchive, NoArchiveLeavesTheArchiveAlone) {
    Holds(Part(log, 0, 30));
    const CliRun run = Run({"download", "-o", File("logger.txt"), "--no-archive"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "30 of 30 samples written to " + File("logger.txt") + "\n");
    EXPECT_FALSE(std::filesystem::exists(home / "velkor" / "archive.sqlite"));
}

TEST_F(CliArchive, ALoggersArchivedSamplesStandInForAFile) {
    Holds(Part(log, 0, 90));
    ASSERT_EQ(Run({"download", "-o", File("logger.txt")}).code, 0);
    const std::string file = File("logger.txt");
    const std::vector<std::string> period{"--from", "2024-03-01 02:00:00", "--to",
                                          "2024-03-01 09:00:00"};
    auto with = [](std::vector<std::string> head, const std::vector<std::string>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const struct {
        const char* name;
        std::vector<std::string> args;
        int code;
        std::vector<std::string> same; // what these arguments write to stdout; empty: nothing
        std::string err;               // a part of stderr
    } cases[] = {
        {"summary as JSON",
         {"summary", "--archive-logger", "RTW01234", "--json"},
         0,
         {"summary", file, "--json"},
         ""},
        {"summary of a period", with({"summary", "--archive-logger", "RTW01234", "--json"}, period),
         0, with({"summary", file, "--json"}, period), ""},
        {"both a file and a logger",
         {"summary", file, "--archive-logger", "RTW01234"},
         1,
         {},
         "either FILE or --archive-logger ID"},
        {"a logger the archive lacks",
         {"summary", "--archive-logger", "RTW99999"},
         2,
         {},
         "no samples of the logger RTW99999"},
        {"a period without samples",
         {"summary", "--archive-logger", "RTW01234", "--from", "2025-01-01 00:00:00"},
         2,
         {},
         "no samples of the logger RTW01234"},
        {"summary of an archive not there",
         {"summary", "--archive-logger", "RTW01234", "--archive", File("typo.sqlite")},
         2,
         {},
         File("typo.sqlite") + " cannot be read: there is no such file"},
        {"export from an archive not there",
         {"archive", "export", "--logger", "RTW01234", "--archive", File("typo.sqlite")},
         2,
         {},
         "there is no such file"},
        {"an archive not there lists no loggers",
         {"archive", "list", "--json", "--archive", File("typo.sqlite")},
         0,
         {"archive", "list", "--json", "--archive", ":memory:"},
         ""},
        {"export to standard output",
         {"archive", "export", "--logger", "RTW01234", "-o", "-", "--format", "csv"},
         0,
         {"archive", "export", "--logger", "RTW01234", "--format", "csv"},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_EQ(run.out, c.same.empty() ? "" : Run(c.same).out);
    }
    // Commands that only read make no archive.
    EXPECT_FALSE(std::filesystem::exists(File("typo.sqlite")));
    // The text names the logger and the archive instead of a file.
    const CliRun text = Run({"summary", "--archive-logger", "RTW01234"});
    EXPECT_TRUE(text.out.starts_with(
        "Logger:    RTW01234\nArchive:   " + (home / "velkor" / "archive.sqlite").string() + "\n"))
        << text.out;
}

} // namespace
} // namespace velkor::testing
