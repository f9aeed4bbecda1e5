// What every archive backend does alike. A backend instantiates these with its ArchiveBackend.
#include "tests/archive/ArchiveFixture.h"

#include <map>
#include <set>
#include <tuple>

namespace velkor::testing {
namespace {

using archive::ArchiveError;
using archive::ArchiveFault;
using archive::DownloadKind;
using archive::Period;
using archive::Sample;
using archive::StoreCounts;

// One download of a test table.
struct Batch {
    std::string logger;
    std::int64_t firstMinute; // from Jan2024
    std::int64_t count;       // one a minute
    std::int32_t offset;      // other values: conflicts
    int repeat = 1;           // the samples given this many times in one store
    std::vector<Sample> samples() const {
        std::vector<Sample> out;
        const auto one = Samples(Jan2024 + firstMinute * 60, 60, count, offset);
        for (int i = 0; i < repeat; ++i) {
            out.insert(out.end(), one.begin(), one.end());
        }
        return out;
    }
};

// The archive as the rule says it should be: the first values of every (logger, time) stay,
// other values are conflicts, kept once.
struct Model {
    std::map<std::pair<std::string, archive::LoggerSeconds>, Sample> samples;
    std::set<std::tuple<std::string, archive::LoggerSeconds, std::int32_t, std::int32_t>> conflicts;
    void Store(const Batch& b) {
        for (const auto& s : b.samples()) {
            const auto [it, added] = samples.try_emplace({b.logger, s.time}, s);
            if (!added && !(it->second == s)) {
                conflicts.emplace(b.logger, s.time, s.temperature, s.humidity);
            }
        }
    }
    std::vector<Sample> Of(const std::string& logger) const {
        std::vector<Sample> out;
        for (const auto& [key, s] : samples) {
            if (key.first == logger) {
                out.push_back(s);
            }
        }
        return out;
    }
};

void ExpectMatches(archive::Archive& a, const Model& m) {
    for (const auto& logger : {"RTW00001", "RTW00002"}) {
        EXPECT_EQ(a.Samples(logger, {}), m.Of(logger)) << logger;
    }
    EXPECT_EQ(static_cast<std::size_t>(a.Conflicts("").size()), m.conflicts.size());
}

struct StoreCase {
    const char* name;
    std::vector<Batch> batches;
    std::vector<StoreCounts> counts; // {added, already there, conflicting}, one a batch
};

const StoreCase StoreCases[] = {
    {"OverlappingDownloadsGiveTheUnionOnce",
     {{"RTW00001", 0, 100, 0}, {"RTW00001", 50, 100, 0}},
     {{100, 0, 0}, {50, 50, 0}}},
    {"OtherValuesConflictAndTheFirstStay",
     {{"RTW00001", 0, 100, 0}, {"RTW00001", 80, 40, 5}},
     {{100, 0, 0}, {20, 0, 20}}},
    {"ARepeatedConflictIsCountedButKeptOnce",
     {{"RTW00001", 0, 10, 0}, {"RTW00001", 0, 10, 5}, {"RTW00001", 0, 10, 5}},
     {{10, 0, 0}, {0, 0, 10}, {0, 0, 10}}},
    {"ASecondLoggerBesideIt",
     {{"RTW00001", 0, 100, 0}, {"RTW00002", 0, 100, 0}},
     {{100, 0, 0}, {100, 0, 0}}},
    {"DuplicatesWithinOneDownloadAreSkipped", {{"RTW00001", 0, 30, 0, 2}}, {{30, 30, 0}}},
    {"AnEmptyDownloadIsStillRecorded", {{"RTW00001", 0, 0, 0}}, {{0, 0, 0}}},
};

TEST_P(ArchiveTest, StoreMergesDownloadsWithoutDuplicates) {
    for (const auto& c : StoreCases) {
        SCOPED_TRACE(c.name);
        TempFolder own;
        auto a = archive::OpenArchive(GetParam().freshLocation(own.path()));
        Model model;
        for (std::size_t i = 0; i < c.batches.size(); ++i) {
            const auto& b = c.batches[i];
            const auto samples = b.samples();
            auto got = a->Store({b.logger, true}, Meta(), samples);
            EXPECT_GT(got.download, 0);
            got.download = 0;
            EXPECT_EQ(got, c.counts[i]) << "batch " << i;
            model.Store(b);
        }
        ExpectMatches(*a, model);
        EXPECT_EQ(a->Downloads("").size(), c.batches.size());
    }
}

struct RemoveCase {
    const char* name;
    std::vector<Batch> batches;
    std::size_t removed; // index of the batch taken out again
    std::int64_t samplesRemoved;
    std::int64_t samplesKept;
};

const RemoveCase RemoveCases[] = {
    {"AWrongImportGoesOutAgain", {{"RTW00001", 0, 100, 0}, {"RTW00001", 100, 100, 3}}, 1, 100, 0},
    {"SamplesAnotherDownloadHeldStay",
     {{"RTW00001", 0, 100, 0}, {"RTW00001", 50, 100, 0}},
     0,
     50,
     50},
    {"ConflictingValuesOfAnotherDownloadTakeThePlace",
     {{"RTW00001", 0, 100, 0}, {"RTW00001", 0, 100, 5}, {"RTW00001", 0, 100, 5}},
     0,
     0,
     100},
    {"ADownloadThatBroughtNothingNewRemovesNothing",
     {{"RTW00001", 0, 100, 0}, {"RTW00001", 0, 100, 5}},
     1,
     0,
     0},
    {"AnotherLoggerIsLeftAlone", {{"RTW00001", 0, 100, 0}, {"RTW00002", 0, 100, 0}}, 0, 100, 0},
};

// Removing a download leaves what storing the others alone would have left.
TEST_P(ArchiveTest, RemoveDownloadTakesOutWhatNoOtherDownloadHolds) {
    for (const auto& c : RemoveCases) {
        SCOPED_TRACE(c.name);
        TempFolder own;
        auto a = archive::OpenArchive(GetParam().freshLocation(own.path()));
        std::vector<std::int64_t> ids;
        Model others;
        for (std::size_t i = 0; i < c.batches.size(); ++i) {
            const auto& b = c.batches[i];
            ids.push_back(a->Store({b.logger, true}, Meta(), b.samples()).download);
            if (i != c.removed) {
                others.Store(b);
            }
        }
        const auto r = a->RemoveDownload(ids[c.removed]);
        EXPECT_EQ(r.samplesRemoved, c.samplesRemoved);
        EXPECT_EQ(r.samplesKept, c.samplesKept);
        ExpectMatches(*a, others);
        EXPECT_EQ(a->Downloads("").size(), c.batches.size() - 1);
        try {
            a->RemoveDownload(ids[c.removed]);
            ADD_FAILURE() << "removed twice";
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Fault(), ArchiveFault::NoSuchDownload);
        }
    }
}

TEST_P(ArchiveTest, ReadsThePeriodAskedFor) {
    const auto all = Samples(Jan2024, 60, 1000);
    Store("RTW00001", all);
    Store("RTW00002", Samples(Jan2024, 60, 1000, 7));
    const Period periods[] = {
        {},
        {Jan2024 + 60 * 10, std::nullopt},
        {std::nullopt, Jan2024 + 60 * 10},
        {Jan2024 + 60 * 10, Jan2024 + 60 * 20},
        {Jan2024 + 60 * 10 + 1, Jan2024 + 60 * 20 - 1},
        {Jan2024 - 600, Jan2024 - 1},
    };
    for (const auto& p : periods) {
        std::vector<Sample> expected;
        for (const auto& s : all) {
            if (s.time >= p.from.value_or(INT64_MIN) && s.time <= p.to.value_or(INT64_MAX)) {
                expected.push_back(s);
            }
        }
        EXPECT_EQ(archive->Samples("RTW00001", p), expected);
        EXPECT_EQ(archive->CountSamples("RTW00001", p), static_cast<std::int64_t>(expected.size()));
    }
    std::size_t chunks = 0, total = 0;
    archive->ReadSamples("RTW00001", {}, [&](std::span<const archive::StoredSample> chunk) {
        ++chunks;
        total += chunk.size();
    });
    EXPECT_EQ(total, all.size());
    EXPECT_GE(chunks, 1u);
}

TEST_P(ArchiveTest, ListsLoggersWithLabelPeriodCountAndLastDownload) {
    Store("RTW00002", Samples(Jan2024, 60, 10));
    Store("RTT00001", Samples(Jan2024 + 3600, 600, 5), DownloadKind::Import);
    archive->RecordErase({"RTW00003", 1'700'000'100, true});
    archive->SetLabel("RTW00002", "Lodówka 2, apteka");

    const auto loggers = archive->Loggers();
    ASSERT_EQ(loggers.size(), 3u);
    EXPECT_EQ(loggers[0].id, "RTT00001");
    EXPECT_EQ(loggers[0].samples, 5);
    EXPECT_EQ(loggers[0].first, Jan2024 + 3600);
    EXPECT_EQ(loggers[0].last, Jan2024 + 3600 + 4 * 600);
    EXPECT_EQ(loggers[1].label, "Lodówka 2, apteka");
    EXPECT_EQ(loggers[1].humiditySensor, true);
    EXPECT_EQ(loggers[1].lastDownload, Meta().storedAt);
    EXPECT_EQ(loggers[2].id, "RTW00003");
    EXPECT_EQ(loggers[2].samples, 0);
    EXPECT_FALSE(loggers[2].first);
    EXPECT_FALSE(loggers[2].lastDownload);

    const auto erases = archive->EraseEvents("RTW00003");
    ASSERT_EQ(erases.size(), 1u);
    EXPECT_EQ(erases[0].at, 1'700'000'100);
    EXPECT_TRUE(erases[0].confirmed);

    try {
        archive->SetLabel("RTW09999", "x");
        ADD_FAILURE() << "labelled an unknown logger";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.Fault(), ArchiveFault::NoSuchLogger);
    }
}

TEST_P(ArchiveTest, KeepsWhatIsKnownOfEachDownload) {
    const auto samples = Samples(Jan2024, 60, 10);
    const archive::DownloadMeta metas[] = {Meta(DownloadKind::Download, 10),
                                           Meta(DownloadKind::Import, 10)};
    for (const auto& m : metas) {
        archive->Store({"RTW00001", std::nullopt}, m, samples);
    }
    const auto downloads = archive->Downloads("RTW00001");
    ASSERT_EQ(downloads.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& got = downloads[i].meta;
        EXPECT_EQ(got.kind, metas[i].kind);
        EXPECT_EQ(got.port, metas[i].port);
        EXPECT_EQ(got.source, metas[i].source);
        EXPECT_EQ(got.settings.has_value(), metas[i].settings.has_value());
        if (got.settings) {
            EXPECT_EQ(got.settings->clock, metas[i].settings->clock);
            EXPECT_EQ(got.settings->batteryMillivolts, metas[i].settings->batteryMillivolts);
        }
        EXPECT_EQ(got.sha256, metas[i].sha256);
        EXPECT_EQ(archive->FindDownload("RTW00001", metas[i]), downloads[i].id);
    }
    EXPECT_EQ(downloads[1].counts.alreadyThere, 10);
    EXPECT_TRUE(archive->Downloads("RTW00002").empty());
    EXPECT_FALSE(archive->FindDownload("RTW00002", metas[0]));
}

TEST_P(ArchiveTest, CheckCountsAnIntactArchive) {
    Store("RTW00001", Samples(Jan2024, 60, 10));
    Store("RTW00001", Samples(Jan2024, 60, 10, 1));
    archive->RecordErase({"RTW00001", 1, false});
    const auto c = archive->Check();
    EXPECT_TRUE(c.intact);
    EXPECT_TRUE(c.problems.empty());
    EXPECT_EQ(c.loggers, 1);
    EXPECT_EQ(c.downloads, 2);
    EXPECT_EQ(c.samples, 10);
    EXPECT_EQ(c.conflicts, 10);
    EXPECT_EQ(c.eraseEvents, 1);
    EXPECT_EQ(c.schemaVersion, archive->SchemaVersion());
}

} // namespace
} // namespace velkor::testing
