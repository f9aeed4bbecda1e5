// The hover readout over a chart window with two series of a million points: one pointer move
// over the plot, the nearest-sample search and the readout's repaint over the chart's image,
// which must stay within 2 ms. Every iteration is one move, painted at once.

#include "bench/chart/BenchFixtures.h"
#include "chart/ChartOverlay.h"
#include "tests/chart/LoggerChartSetup.h"

#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

using namespace velkor::chart;
using namespace velkor::chart::testing;

namespace {

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct HoverWindow {
    ChartWidget widget;
    ChartOverlay overlay{widget};
    HoverWindow() {
        ConfigureLoggerChart(widget.Chart());
        FillLogger(widget.Chart(), Points, Day(2024, 1, 1), 1.0 / 86400);
        widget.resize(665, 449);
        widget.show();
        QApplication::processEvents();
        widget.repaint();
        widget.repaint();
    }
};

// Built on first use; main destroys it while the application object still exists.
std::unique_ptr<HoverWindow> hoverWindow;

void BM_HoverReadout(benchmark::State& state) {
    if (!hoverWindow)
        hoverWindow = std::make_unique<HoverWindow>();
    HoverWindow& w = *hoverWindow;
    const PlotRect p = w.widget.Chart().LastLayout().plot;
    std::vector<double> ms, cpu;
    int k = 0;
    for (auto _ : state) {
        // Back and forth across the plot, 3 pixels a move, at two heights.
        const int x = p.left + 1 + (3 * k) % (p.Width() - 2);
        const QPoint at(x, k % 2 ? p.top + 20 : p.bottom - 60);
        ++k;
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = ThreadCpuMs();
        QMouseEvent e(QEvent::MouseMove, at, w.widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&w.widget, &e);
        cpu.push_back(ThreadCpuMs() - c0);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    if (!w.overlay.Current())
        state.SkipWithError("no readout shown");
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
        state.counters["max_ms"] = ms.back();
        // On a loaded machine the wall-clock maximum is mostly time spent preempted.
        state.counters["max_cpu_ms"] = *std::max_element(cpu.begin(), cpu.end());
    }
}
BENCHMARK(BM_HoverReadout)->Unit(benchmark::kMillisecond)->Iterations(500)->Repetitions(3);

} // namespace

void velkor::chart::testing::ReleaseHoverFixtures() {
    hoverWindow.reset();
}
