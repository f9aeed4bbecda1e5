// The PostgreSQL archive against a real server (the URL in VELKOR_TEST_PG_URL; ./test.sh's
// tools/test-postgres.sh starts one): a million samples in one store, and twenty downloads
// archived at once as twenty programs would.

#include "archive/Archive.h"
#include "archive/postgres/PgConnection.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace velkor::archive;

// A new, empty database on the server; its URL.
std::string FreshDatabase(const std::string& server) {
    std::random_device random;
    const std::string name = "velkor_b" + std::to_string(random()) + std::to_string(random());
    PgConnection(server).exec("CREATE DATABASE " + name);
    return server.substr(0, server.rfind('/') + 1) + name;
}

std::vector<Sample> Minutes(std::int64_t count) {
    std::vector<Sample> samples;
    samples.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i)
        samples.push_back({1'704'067'200 + 60 * i, static_cast<std::int32_t>(i % 400 - 100),
                           static_cast<std::int32_t>(i % 900)});
    return samples;
}

DownloadMeta Meta(std::int64_t records) {
    DownloadMeta meta;
    meta.storedAt = 1'700'000'000;
    meta.program = "velkor-cli";
    meta.version = "1.1.0";
    meta.port = "COM1";
    meta.settings = SettingsRead{1'704'067'200 + 60 * records, 60, 1'704'067'200, records, 3000};
    meta.recordsExpected = meta.recordsReceived = records;
    meta.complete = true;
    meta.sha256 = std::string(64, 'a');
    return meta;
}

const char* Server(benchmark::State& state) {
    const char* url = std::getenv("VELKOR_TEST_PG_URL");
    if (!url)
        state.SkipWithError("VELKOR_TEST_PG_URL is not set: start a server with "
                            "tools/test-postgres.sh");
    return url;
}

// Goal: at most 10 s.
void BM_StoreAMillionSamples(benchmark::State& state) {
    const char* server = Server(state);
    if (!server)
        return;
    const auto samples = Minutes(1'000'000);
    for (auto _ : state) {
        state.PauseTiming();
        auto archive = OpenArchive(FreshDatabase(server));
        state.ResumeTiming();
        benchmark::DoNotOptimize(archive->Store({"RTW00001", true}, Meta(1'000'000), samples));
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_StoreAMillionSamples)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// Twenty programs archive a download of 10,000 samples each at the same moment, each opening
// its own connection. The time is the slowest one's archive step (goal: at most 1 s).
void BM_TwentyDownloadsAtOnce(benchmark::State& state) {
    const char* server = Server(state);
    if (!server)
        return;
    constexpr int Programs = 20;
    const auto samples = Minutes(10'000);
    for (auto _ : state) {
        const std::string url = FreshDatabase(server);
        OpenArchive(url); // the tables, as an earlier download left them
        std::vector<double> seconds(Programs);
        std::vector<std::thread> programs;
        for (int p = 0; p < Programs; ++p)
            programs.emplace_back([&, p] {
                const auto start = std::chrono::steady_clock::now();
                auto archive = OpenArchive(url);
                archive->Store({"RTW" + std::to_string(10000 + p), true}, Meta(10'000), samples);
                seconds[p] =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            });
        for (auto& program : programs)
            program.join();
        state.SetIterationTime(*std::max_element(seconds.begin(), seconds.end()));
        std::sort(seconds.begin(), seconds.end());
        state.counters["median_s"] = seconds[Programs / 2];
    }
}
BENCHMARK(BM_TwentyDownloadsAtOnce)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
