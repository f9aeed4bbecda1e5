// The layers over the chart window: the hover readout (which sample it names, what its box
// says, that the chart stays pixel-identical without it) and the pure searches and statistics.

#include "chart/ChartOverlay.h"
#include "chart/SeriesStatistics.h"
#include "tests/chart/ChartWindow.h"

#include <QMouseEvent>
#include <QScreen>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

using namespace velkor::chart;
using namespace velkor::chart::testing;

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
const double Start = Day(2024, 3, 5, 8, 0);

// A day of ten-minute samples with values easy to tell apart: temperature 20.0 + i / 10,
// humidity 40 + i / 2; the humidity has no sample 30.
struct ReadoutWindow {
    ChartWidget widget{QStringLiteral("Chart1")};
    ChartOverlay* overlay = nullptr;

    ReadoutWindow() {
        ConfigureLoggerChart(chart());
        chart().Series(1).SetTitle(QStringLiteral("Wilgotność"));
        chart().SetSeparators({u',', QChar(0x00A0)});
        for (int i = 0; i <= 144; ++i) {
            chart().Series(0).AddXY(Time(i), 20 + i / 10.0, {}, Red);
            if (i != 30)
                chart().Series(1).AddXY(Time(i), 40 + i / 2.0, {}, Green);
        }
        widget.resize(665, 449);
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
        Settle();
    }
    static double Time(int i) { return Start + i / 144.0; }
    Chart& chart() { return widget.Chart(); }
    void Settle() {
        QApplication::processEvents();
        widget.repaint();
        widget.repaint();
    }
    QPoint AtSample(int i, int dx = 0) const {
        const PlotRect& p = widget.Chart().LastLayout().plot;
        return {widget.Chart().BottomAxis().ValueToPosition(Time(i)) + dx, (p.top + p.bottom) / 2};
    }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
        QMouseEvent e(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&widget, &e);
    }
    // What the window shows now, read back from the screen without painting anything.
    QImage Shown() {
        return widget.screen()
            ->grabWindow(widget.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
};

} // namespace

TEST(ChartLayers, NearestInRangeIsTheClosestFirstOfEqualTimes) {
    const std::vector<double> x = {1, 2, 2, 4, 8};
    struct Case {
        double t, from, to;
        std::optional<std::size_t> expected;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 10, 0},
                                           {2.9, 0, 10, 1},
                                           {3, 0, 10, 1}, // a tie goes to the earlier
                                           {3.1, 0, 10, 3},
                                           {100, 0, 10, 4},
                                           {1, 3, 7, 3},
                                           {9, 0, 4, 3},
                                           {5, 5, 7, std::nullopt},
                                           {1, 9, 20, std::nullopt}})
        EXPECT_EQ(NearestInRange(x, c.t, c.from, c.to), c.expected) << c.t << " " << c.from;
    EXPECT_EQ(NearestInRange({}, 1, 0, 2), std::nullopt);
    EXPECT_EQ(IndexAt(x, 2), 1u);
    EXPECT_EQ(IndexAt(x, 3), std::nullopt);
}

// Against a plain walk over the points, on random data and ranges, NaN values included.
TEST(ChartLayers, StatisticsOverTheRangeMatchTheirPoints) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-30, 80);
    std::vector<double> x, y;
    for (int i = 0; i < 500; ++i) {
        x.push_back(100 + i / 2); // pairs of equal times
        y.push_back(i % 17 == 0 ? Nan : std::round(value(rng) * 10) / 10);
    }
    for (const auto& [from, to] : std::vector<std::pair<double, double>>{
             {0, 1000}, {150.5, 220}, {200, 200}, {400, 500}, {120, 110}}) {
        const SeriesStatistics s = StatisticsInRange(x, y, from, to);
        SeriesStatistics e;
        double sum = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (x[i] < from || x[i] > to || std::isnan(y[i]))
                continue;
            if (e.count == 0 || y[i] < e.minimum)
                e.minimum = y[i], e.minimumTime = x[i];
            if (e.count == 0 || y[i] > e.maximum)
                e.maximum = y[i], e.maximumTime = x[i];
            sum += y[i];
            ++e.count;
        }
        SCOPED_TRACE(from);
        EXPECT_EQ(s.count, e.count);
        if (e.count == 0)
            continue;
        EXPECT_EQ(s.minimum, e.minimum);
        EXPECT_EQ(s.minimumTime, e.minimumTime);
        EXPECT_EQ(s.maximum, e.maximum);
        EXPECT_EQ(s.maximumTime, e.maximumTime);
        EXPECT_DOUBLE_EQ(s.mean, sum / static_cast<double>(e.count));
    }
}

// The box names the sample nearest the pointer, among the visible series and the visible time
// range, with the values of the visible series at that time; the line stands at that time and
// the box stays inside the chart.
TEST(ChartLayers, ReadoutNamesTheNearestSampleAndItsValues) {
    struct Case {
        const char* name;
        std::function<void(ReadoutWindow&)> setup;
        int sample; // pointer at this sample's pixel plus dx
        int dx;
        QStringList box;
    };
    const std::vector<Case> cases = {
        {"first", {}, 0, -1, {"2024-03-05 08:00:00", "Temperatura: 20,0 °C", "Wilgotność: 40,0 %"}},
        {"between",
         {},
         50,
         1,
         {"2024-03-05 16:20:00", "Temperatura: 25,0 °C", "Wilgotność: 65,0 %"}},
        {"last, box kept inside",
         {},
         144,
         0,
         {"2024-03-06 08:00:00", "Temperatura: 34,4 °C", "Wilgotność: 112,0 %"}},
        {"humidity has no sample",
         {},
         30,
         0,
         {"2024-03-05 13:00:00", "Temperatura: 23,0 °C", "Wilgotność: –"}},
        {"hidden humidity",
         [](ReadoutWindow& w) { w.chart().Series(1).SetActive(false); },
         71,
         0,
         {"2024-03-05 19:50:00", "Temperatura: 27,1 °C"}},
        {"hidden temperature, nearest humidity sample",
         [](ReadoutWindow& w) { w.chart().Series(0).SetActive(false); },
         31,
         -1,
         {"2024-03-05 13:10:00", "Wilgotność: 55,5 %"}},
        {"zoomed to samples 10 to 20",
         [](ReadoutWindow& w) {
             w.chart().BottomAxis().AssignRange(ReadoutWindow::Time(10), ReadoutWindow::Time(20));
         },
         17,
         3,
         {"2024-03-05 10:50:00", "Temperatura: 21,7 °C", "Wilgotność: 48,5 %"}},
        {"English",
         [](ReadoutWindow& w) { w.chart().SetSeparators({}); },
         5,
         0,
         {"2024-03-05 08:50:00", "Temperatura: 20.5 °C", "Wilgotność: 42.5 %"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadoutWindow w;
        ChartOverlay overlay(w.widget);
        overlay.SetUnit(0, QStringLiteral("°C"));
        overlay.SetUnit(1, QStringLiteral("%"));
        if (c.setup) {
            c.setup(w);
            w.Settle();
        }
        w.Send(QEvent::MouseMove, w.AtSample(c.sample, c.dx));
        ASSERT_TRUE(overlay.Current());
        EXPECT_EQ(overlay.BoxLines(), c.box);
        const QImage screen = w.Shown();
        EXPECT_TRUE(w.widget.rect().contains(overlay.BoxRect()));
        const PlotRect& p = w.chart().LastLayout().plot;
        EXPECT_EQ(overlay.CursorX(),
                  w.chart().BottomAxis().ValueToPosition(overlay.Current()->time));
        // The cursor line is drawn over the plot where no series line or box covers it.
        const int y = overlay.BoxRect().top() > p.top + 10 ? p.top + 2 : p.bottom - 2;
        EXPECT_EQ(screen.pixelColor(overlay.CursorX(), y), QColor(96, 96, 96));
    }
}

// Without the readout (pointer outside the plot, or gone with a press or the pointer leaving)
// the window shows exactly what it shows with no layer, zoomed and with a series hidden too.
TEST(ChartLayers, WithoutTheReadoutTheScreenIsPixelIdentical) {
    struct Case {
        const char* name;
        std::function<void(ReadoutWindow&)> setup;
        std::function<void(ReadoutWindow&)> pointer;
    };
    auto inside = [](ReadoutWindow& w) { w.Send(QEvent::MouseMove, w.AtSample(40)); };
    const std::vector<Case> cases = {
        {"outside the plot",
         {},
         [](ReadoutWindow& w) {
             w.Send(QEvent::MouseMove, {3, 3});
         }},
        {"left the chart",
         {},
         [&](ReadoutWindow& w) {
             inside(w);
             QEvent leave(QEvent::Leave);
             QApplication::sendEvent(&w.widget, &leave);
         }},
        {"pressed (a drag starts)", [](ReadoutWindow& w) { w.widget.SetInteraction(nullptr); },
         [&](ReadoutWindow& w) {
             inside(w);
             w.Send(QEvent::MouseButtonPress, w.AtSample(40), Qt::LeftButton);
         }},
        {"zoomed, outside",
         [](ReadoutWindow& w) {
             w.widget.ZoomScroll().ZoomToRectangle(w.widget, w.AtSample(20),
                                                   w.AtSample(90) + QPoint(0, 100));
         },
         [&](ReadoutWindow& w) {
             inside(w);
             w.Send(QEvent::MouseMove, {w.widget.width() - 2, 4});
         }},
        {"a modal dialog blocks the window",
         {},
         [](ReadoutWindow& w) {
             QEvent blocked(QEvent::WindowBlocked);
             QApplication::sendEvent(&w.widget, &blocked);
         }},
        {"zoom rectangle drawn, outside",
         [](ReadoutWindow& w) {
             w.widget.SetInteraction(nullptr);
             w.chart().SetZoomRectangle(ZoomDrag{w.AtSample(10), w.AtSample(60) + QPoint(0, 80)});
         },
         [](ReadoutWindow& w) {
             w.Send(QEvent::MouseMove, {2, w.widget.height() - 3});
         }},
        {"humidity hidden, left", [](ReadoutWindow& w) { w.chart().Series(1).SetActive(false); },
         [&](ReadoutWindow& w) {
             inside(w);
             QEvent leave(QEvent::Leave);
             QApplication::sendEvent(&w.widget, &leave);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadoutWindow w;
        if (c.setup) {
            c.setup(w);
            w.Settle();
        }
        const QImage plain = w.Shown();
        ChartOverlay overlay(w.widget);
        w.Settle();
        EXPECT_EQ(w.Shown(), plain); // never moved over the plot
        inside(w);
        ASSERT_TRUE(overlay.Current());
        EXPECT_NE(w.Shown(), plain);
        c.pointer(w);
        EXPECT_FALSE(overlay.Current());
        EXPECT_EQ(w.Shown(), plain);
        w.Settle(); // a whole new paint, the chart image painted again
        EXPECT_EQ(w.Shown(), plain);
    }
}

// A change of the chart made while the readout shows reaches the readout's own repaint, before
// the window's scheduled repaint comes.
TEST(ChartLayers, ReadoutRepaintsShowAChangedChart) {
    ReadoutWindow reference;
    reference.chart().Series(1).SetActive(false);
    reference.Settle();
    ReadoutWindow w;
    ChartOverlay overlay(w.widget);
    w.Settle();
    w.Send(QEvent::MouseMove, w.AtSample(40));
    const QRect box = overlay.BoxRect();
    ASSERT_FALSE(box.isEmpty());
    w.chart().Series(1).SetActive(false);
    w.Send(QEvent::MouseMove, {3, 3});
    EXPECT_EQ(w.Shown().copy(box), reference.Shown().copy(box));
}
