// The archive's speed goals, on SQLite files in a temporary folder:
//  - storing 1M samples (one import) takes at most 3 s;
//  - a year of one logger at a 1-minute interval (525,600 samples) reads back in at most 0.5 s;
//  - in an archive of 10M samples over 20 loggers, one logger's month reads back in at most
//    50 ms.
#include "archive/Archive.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace velkor::archive;

constexpr LoggerSeconds Jan2024 = 1'704'067'200;

std::vector<Sample> Minutes(LoggerSeconds first, std::int64_t count) {
    std::vector<Sample> out;
    out.reserve(static_cast<std::size_t>(count));
    std::mt19937 random(7);
    for (std::int64_t i = 0; i < count; ++i) {
        out.push_back(Sample{first + 60 * i, static_cast<std::int32_t>(random() % 600) - 200,
                             static_cast<std::int32_t>(random() % 1000)});
    }
    return out;
}

DownloadMeta Import() {
    DownloadMeta m;
    m.kind = DownloadKind::Import;
    m.program = "archive_bench";
    m.sha256 = std::string(64, '0');
    return m;
}

// A folder of its own, removed at the end of the run.
class Folder {
public:
    Folder()
        : path_(std::filesystem::temp_directory_path() /
                ("velkor-archive-bench-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

const Folder& Scratch() {
    static const Folder folder;
    return folder;
}

void BM_Import1M(benchmark::State& state) {
    const auto samples = Minutes(Jan2024, 1'000'000);
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto file = Scratch().File("import" + std::to_string(run++) + ".sqlite");
        auto archive = OpenArchive(file);
        state.ResumeTiming();
        const auto counts = archive->Store({"RTW00001", true}, Import(), samples);
        benchmark::DoNotOptimize(counts);
        state.PauseTiming();
        archive.reset();
        std::filesystem::remove(file);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_Import1M)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadAYearAtOneMinute(benchmark::State& state) {
    const auto file = Scratch().File("year.sqlite");
    OpenArchive(file)->Store({"RTW00001", true}, Import(), Minutes(Jan2024, 525'600));
    auto archive = OpenArchive(file);
    for (auto _ : state) {
        auto samples = archive->Samples("RTW00001", {});
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetItemsProcessed(state.iterations() * 525'600);
}
BENCHMARK(BM_ReadAYearAtOneMinute)->Unit(benchmark::kMillisecond);

void BM_OneMonthOf10MOver20Loggers(benchmark::State& state) {
    const auto file = Scratch().File("ten-million.sqlite");
    {
        auto archive = OpenArchive(file);
        for (int logger = 0; logger < 20; ++logger) {
            archive->Store({"RTW" + std::to_string(10000 + logger), true}, Import(),
                           Minutes(Jan2024, 500'000));
        }
    }
    auto archive = OpenArchive(file);
    // March 2024 of the eleventh logger: 31 days of one-minute samples.
    const Period march{Jan2024 + 60 * 86400, Jan2024 + 91 * 86400 - 1};
    for (auto _ : state) {
        auto samples = archive->Samples("RTW10010", march);
        benchmark::DoNotOptimize(samples.data());
        if (samples.size() != 31 * 1440) {
            state.SkipWithError("not a month of samples");
        }
    }
}
BENCHMARK(BM_OneMonthOf10MOver20Loggers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
