// Loading a data file of 1,000,000 lines into the chart's series, in time order and in reverse
// time order, and the peak memory of the process while doing it.
//
// The points go to BenchPlot. It is a plain vector sink here; to measure the chart itself, make
// BenchPlot an adapter that adds the points to the chart engine's two series.

#include "log/DataFileLoader.h"
#include "log/DataLine.h"
#include "platform/DateTime.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace velkor;

constexpr int LineCount = 1'000'000;

class VectorPlot final : public PlotSink {
public:
    struct Point {
        double x;
        double y;
        std::uint32_t color;
    };
    void ClearSeries() override {
        for (auto& s : series)
            s.clear();
    }
    void AddPoint(int s, double x, double y, std::uint32_t color) override {
        series[s].push_back({x, y, color});
    }
    void SetBottomAxisAutomatic() override { ++automaticAxisCalls; }

    std::vector<Point> series[2];
    long automaticAxisCalls = 0;
};

using BenchPlot = VectorPlot;

// The lines a download of one-minute samples writes, in time order or reversed.
std::string WriteDataFile(bool reversed) {
    const std::string name =
        std::string("/tmp/velkor-bench-load-") + (reversed ? "reverse" : "forward") + ".txt";
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    double start = 0.0;
    TryEncodeDateTime(2024, 1, 1, 0, 0, 0, 0, start);
    for (int n = 0; n < LineCount; ++n) {
        const int i = reversed ? LineCount - 1 - n : n;
        const double t = start + i * 60.0 / SecondsPerDay;
        const DateParts d = DecodeDate(t);
        const TimeParts c = DecodeTime(t);
        out << DataLine(i + 1, d.year, d.month, d.day, c.hour, c.minute, c.second, i % 700 - 200,
                        i % 1000);
    }
    return name;
}

long PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024; // kilobytes on Linux
}

void LoadMillionLines(benchmark::State& state, bool reversed) {
    const std::string name = WriteDataFile(reversed);
    const long peakBefore = PeakResidentMegabytes();
    DataFileState dataFile;
    std::size_t points = 0;
    for (auto _ : state) {
        BenchPlot plot;
        LoadDataFile(dataFile, name, plot, [] {});
        points = plot.series[0].size() + plot.series[1].size();
        benchmark::DoNotOptimize(plot.series[0].data());
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["peak_MB_before_load"] = static_cast<double>(peakBefore);
    state.counters["peak_MB"] = static_cast<double>(PeakResidentMegabytes());
    std::remove(name.c_str());
}

void BM_LoadMillionLines(benchmark::State& state) {
    LoadMillionLines(state, false);
}
void BM_LoadMillionLinesReversed(benchmark::State& state) {
    LoadMillionLines(state, true);
}

} // namespace

BENCHMARK(BM_LoadMillionLines)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadMillionLinesReversed)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
