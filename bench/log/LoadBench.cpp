// Loading a data file of 1,000,000 lines, in time order and in reverse time order, and the peak
// memory of the process while doing it. The points go either to plain vectors (the file layer
// alone) or into the two series of a chart configured as the window's Chart1, read back once
// in time order as the first paint reads them (the whole cost of a load into the chart).

#include "app/ChartView.h"
#include "chart/Chart.h"
#include "log/DataFileLoader.h"
#include "log/DataLine.h"
#include "platform/DateTime.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <memory>
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

// The window's own sink over a chart configured like Chart1.
class ChartBenchPlot final : public PlotSink {
public:
    ChartBenchPlot() { ConfigureChartView(chart, Language::Polish); }
    void ClearSeries() override { plot.ClearSeries(); }
    void AddPoint(int s, double x, double y, std::uint32_t color) override {
        plot.AddPoint(s, x, y, color);
    }
    void SetBottomAxisAutomatic() override { plot.SetBottomAxisAutomatic(); }
    // The points in time order, as a paint takes them.
    std::size_t ReadBack() const {
        std::size_t n = 0;
        for (std::size_t s = 0; s < 2; ++s)
            n += chart.Series(s).XValues().Values().size() +
                 chart.Series(s).YValues().Values().size();
        return n / 2;
    }

    chart::Chart chart;
    ChartPlot plot{chart};
};

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

// The process's peak resident size since the last ResetPeakResident (VmHWM), in megabytes;
// -1 where the kernel does not tell.
double PeakResidentSinceReset() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return -1;
}

// Writing 5 to clear_refs starts the peak resident size afresh from the current size.
void ResetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::size_t PointsOf(const VectorPlot& plot) {
    return plot.series[0].size() + plot.series[1].size();
}
std::size_t PointsOf(const ChartBenchPlot& plot) {
    return plot.ReadBack();
}

template <class BenchPlot> void LoadMillionLines(benchmark::State& state, bool reversed) {
    const std::string name = WriteDataFile(reversed);
    const long peakBefore = PeakResidentMegabytes();
    DataFileState dataFile;
    std::size_t points = 0;
    double peakOfLoad = 0;
    for (auto _ : state) {
        ResetPeakResident();
        auto plot = std::make_unique<BenchPlot>();
        LoadDataFile(dataFile, name, *plot, [] {});
        points = PointsOf(*plot);
        benchmark::DoNotOptimize(points);
        peakOfLoad = std::max(peakOfLoad, PeakResidentSinceReset());
        state.PauseTiming();
        plot.reset();
        state.ResumeTiming();
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["peak_MB_before_load"] = static_cast<double>(peakBefore);
    // The process's peak resident size during a load, everything else of the process included.
    state.counters["peak_MB_of_load"] = peakOfLoad;
    std::remove(name.c_str());
}

void BM_LoadMillionLines(benchmark::State& state) {
    LoadMillionLines<VectorPlot>(state, false);
}
void BM_LoadMillionLinesReversed(benchmark::State& state) {
    LoadMillionLines<VectorPlot>(state, true);
}
// Goals: under 0.5 s in time order, under 1 s reversed, peak under 150 MB.
void BM_LoadMillionLinesIntoChart(benchmark::State& state) {
    LoadMillionLines<ChartBenchPlot>(state, false);
}
void BM_LoadMillionLinesIntoChartReversed(benchmark::State& state) {
    LoadMillionLines<ChartBenchPlot>(state, true);
}

} // namespace

BENCHMARK(BM_LoadMillionLines)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadMillionLinesReversed)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadMillionLinesIntoChart)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadMillionLinesIntoChartReversed)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
