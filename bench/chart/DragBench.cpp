// Repaints while the mouse drags over a chart window with two series of a million points:
// a right-button pan and a left-button zoom rectangle, replayed one pointer move at a time,
// each move followed by the repaint it schedules. Every iteration is one move and one paint.

#include "bench/chart/BenchFixtures.h"
#include "chart/ChartWidget.h"
#include "tests/chart/LoggerChartSetup.h"

#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

using namespace velkor::chart;
using namespace velkor::chart::testing;

namespace {

struct DragWindow {
    ChartWidget widget;
    DragWindow() {
        ConfigureLoggerChart(widget.Chart());
        FillLogger(widget.Chart(), Points, Day(2024, 1, 1), 1.0 / 86400);
        widget.resize(665, 449);
        widget.show();
        QApplication::processEvents();
        Reset();
    }
    void Reset() {
        for (ChartAxis* a : {&widget.Chart().BottomAxis(), &widget.Chart().LeftAxis(),
                             &widget.Chart().TopAxis(), &widget.Chart().RightAxis()})
            a->SetAutomatic(true);
        widget.repaint();
        widget.repaint();
    }
    void Send(QEvent::Type type, Qt::MouseButton button, QPoint at) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent e(type, at, widget.mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(&widget, &e);
    }
};

// Built on first use; main destroys it while the application object still exists.
std::unique_ptr<DragWindow> dragWindow;

DragWindow& Window() {
    if (!dragWindow)
        dragWindow = std::make_unique<DragWindow>();
    return *dragWindow;
}

// Pointer offsets that swing back and forth within +-45 pixels, 3 pixels a move.
int Swing(int k) {
    const int phase = (3 * k) % 180;
    return phase < 90 ? phase - 45 : 135 - phase;
}

// Presses at `start`, then moves to start + offset(k) for the k-th move.
template <class Offset>
void Replay(benchmark::State& state, Qt::MouseButton button, QPoint start, Offset offset) {
    DragWindow& w = Window();
    w.Reset();
    w.Send(QEvent::MouseButtonPress, button, start);
    std::vector<double> ms;
    int k = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        ++k;
        w.Send(QEvent::MouseMove, button, start + offset(k));
        w.widget.repaint();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    const ZoomScroll& z = w.widget.ZoomScroll();
    const bool dragging = z.PanRecord().active || z.ZoomRecord().active;
    w.Send(QEvent::MouseButtonRelease, button, start);
    if (!dragging)
        state.SkipWithError("the drag ended before the last move");
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["max_ms"] = ms.back();
    }
}

void BM_PanDragRepaint(benchmark::State& state) {
    const PlotRect p = Window().widget.Chart().LastLayout().plot;
    const QPoint centre((p.left + p.right) / 2, (p.top + p.bottom) / 2);
    Replay(state, Qt::RightButton, centre, [](int k) { return QPoint(Swing(k), Swing(k) / 2); });
}
BENCHMARK(BM_PanDragRepaint)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3);

void BM_ZoomDragRepaint(benchmark::State& state) {
    const PlotRect p = Window().widget.Chart().LastLayout().plot;
    // The rectangle grows and shrinks from a corner near the plot's top left.
    const QPoint corner(p.left + 60, p.top + 40);
    Replay(state, Qt::LeftButton, corner,
           [](int k) { return QPoint(4 * (Swing(k) + 45), 2 * (Swing(k) + 45)); });
}
BENCHMARK(BM_ZoomDragRepaint)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3);

} // namespace

namespace velkor::chart::testing {

void ReleaseDragFixtures() {
    dragWindow.reset();
}

} // namespace velkor::chart::testing
