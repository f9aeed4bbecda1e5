// Speed and size of the chart engine with a million points per series: painting a 665 x 449
// chart in full view and zoomed to a tenth, adding points in ascending and descending X, and
// the bytes a point costs. DragBench.cpp adds the repaints of mouse drags; main is here.

#include "bench/chart/BenchFixtures.h"
#include "tests/chart/LoggerChartSetup.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace velkor::chart;
using namespace velkor::chart::testing;

namespace {

std::unique_ptr<Chart> MillionPointChart() {
    auto c = std::make_unique<Chart>();
    ConfigureLoggerChart(*c);
    FillLogger(*c, Points, Day(2024, 1, 1), 1.0 / 86400);
    return c;
}

// The charts are built on first use and kept for every repetition; main destroys them while
// the application object still exists.
std::unique_ptr<Chart> fullViewChart, zoomedChart;

Chart& Fixture(std::unique_ptr<Chart>& chart) {
    if (!chart)
        chart = MillionPointChart();
    return *chart;
}

void PaintLoop(benchmark::State& state, Chart& c) {
    QImage image(665, 449, QImage::Format_RGB32);
    {
        QPainter p(&image);
        c.Paint(p, image.rect());
    }
    for (auto _ : state) {
        QPainter p(&image);
        c.Paint(p, image.rect());
        benchmark::DoNotOptimize(image.bits());
    }
}

void BM_PaintFullView(benchmark::State& state) {
    Chart* c = &Fixture(fullViewChart);
    c->SetLineDrawingMode(state.range(0) ? LineDrawing::Reduced : LineDrawing::EverySegment);
    c->BottomAxis().SetAutomatic(true);
    c->LeftAxis().SetAutomatic(true);
    PaintLoop(state, *c);
}
BENCHMARK(BM_PaintFullView)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("reduced")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_PaintZoomedTenth(benchmark::State& state) {
    Chart* c = &Fixture(zoomedChart);
    c->SetLineDrawingMode(state.range(0) ? LineDrawing::Reduced : LineDrawing::EverySegment);
    const double first = c->Series(0).XValue(0);
    const double last = c->Series(0).XValue(Points - 1);
    const double middle = (first + last) / 2, tenth = (last - first) / 10;
    c->BottomAxis().AssignRange(middle - tenth / 2, middle + tenth / 2);
    c->LeftAxis().AssignRange(17, 47);
    PaintLoop(state, *c);
}
BENCHMARK(BM_PaintZoomedTenth)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("reduced")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_AddAscending(benchmark::State& state) {
    for (auto _ : state) {
        LineSeries s;
        for (int i = 0; i < Points; ++i)
            s.AddXY(45000 + i / 86400.0, 20 + (i % 100) * 0.1, {}, Red);
        benchmark::DoNotOptimize(s.XValues().Values().data());
        state.counters["bytes_per_point"] =
            static_cast<double>(s.MemoryBytes()) / static_cast<double>(Points);
    }
}
BENCHMARK(BM_AddAscending)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_AddDescending(benchmark::State& state) {
    for (auto _ : state) {
        LineSeries s;
        for (int i = Points - 1; i >= 0; --i)
            s.AddXY(45000 + i / 86400.0, 20 + (i % 100) * 0.1, {}, Red);
        // Reading the values completes the sort.
        benchmark::DoNotOptimize(s.XValues().Values().data());
    }
}
BENCHMARK(BM_AddDescending)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

long ResidentBytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// Memory of one series of a million points without labels: what the store holds, and the
// growth of the process's resident memory while it is filled.
void BM_MemoryPerPoint(benchmark::State& state) {
    for (auto _ : state) {
        const long before = ResidentBytes();
        auto s = std::make_unique<LineSeries>();
        for (int i = 0; i < Points; ++i)
            s->AddXY(45000 + i / 86400.0, 20 + (i % 100) * 0.1, {}, Red);
        const long after = ResidentBytes();
        state.counters["resident_bytes_per_point"] =
            static_cast<double>(after - before) / static_cast<double>(Points);
        state.counters["store_bytes_per_point"] =
            static_cast<double>(s->MemoryBytes()) / static_cast<double>(Points);
    }
}
BENCHMARK(BM_MemoryPerPoint)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Widgets and fonts must go before the application object does.
    fullViewChart.reset();
    zoomedChart.reset();
    ReleaseDragFixtures();
    ReleaseHoverFixtures();
    return 0;
}
