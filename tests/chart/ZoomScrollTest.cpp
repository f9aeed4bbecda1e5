// Mouse zoom and scrolling driven through the chart window with real mouse events: the zoom
// drag and its threshold, the reset, panning in one or many steps and its end at the plot's
// border, the snapshot across zoom and pan, the wheel, presses where no drag may start.

#include "tests/chart/ChartWindow.h"

#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace velkor::chart;
using namespace velkor::chart::testing;

namespace {

void Drag(ChartWidget& w, Qt::MouseButton button, QPoint from, QPoint to, int steps = 1) {
    QTest::mousePress(&w, button, Qt::NoModifier, from);
    for (int k = 1; k <= steps; ++k)
        QTest::mouseMove(&w, from + (to - from) * k / steps);
    QTest::mouseRelease(&w, button, Qt::NoModifier, to);
}

void Wheel(ChartWidget& w, QPoint at, int delta) {
    QWheelEvent e(at, w.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &e);
}

bool Automatic(const ChartAxis& a) {
    return a.Automatic() && a.AutomaticMinimum() && a.AutomaticMaximum();
}

// A point of the plot well inside it, a little left of and above its middle.
QPoint Inside(const PlotRect& p) {
    return QPoint(p.left + p.Width() / 4, p.top + p.Height() / 4);
}

} // namespace

TEST(ZoomScroll, DragDownRightZoomsBothAxesAndTheReverseDragRestoresAutomatic) {
    ChartWindow cw;
    Chart& c = cw.chart();
    const QPoint a = Inside(cw.Plot()), b = a + QPoint(200, 100);
    const double bottomFrom = c.BottomAxis().PositionToValue(a.x());
    const double bottomTo = c.BottomAxis().PositionToValue(b.x());
    const double leftFrom = c.LeftAxis().PositionToValue(b.y());
    const double leftTo = c.LeftAxis().PositionToValue(a.y());

    QTest::mousePress(&cw.widget, Qt::LeftButton, Qt::NoModifier, a);
    EXPECT_TRUE(cw.zoom().ZoomRecord().active);
    QTest::mouseMove(&cw.widget, a + QPoint(120, 40));
    ASSERT_TRUE(c.ZoomRectangle());
    EXPECT_EQ(c.ZoomRectangle()->end, a + QPoint(120, 40));
    QTest::mouseMove(&cw.widget, b);
    QTest::mouseRelease(&cw.widget, Qt::LeftButton, Qt::NoModifier, b);
    EXPECT_FALSE(c.ZoomRectangle());
    EXPECT_FALSE(Automatic(c.BottomAxis()));
    EXPECT_FALSE(Automatic(c.LeftAxis()));
    EXPECT_DOUBLE_EQ(c.BottomAxis().Minimum(), bottomFrom);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Maximum(), bottomTo);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Minimum(), leftFrom);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Maximum(), leftTo);
    EXPECT_TRUE(cw.zoom().Zoomed());
    EXPECT_TRUE(cw.zoom().SnapshotTaken());
    cw.Settle();
    // The zoomed view shows only the dragged stretch.
    EXPECT_EQ(c.BottomAxis().Scale().placement.minimum, bottomFrom);

    Drag(cw.widget, Qt::LeftButton, b, a);
    EXPECT_TRUE(Automatic(c.BottomAxis()));
    EXPECT_TRUE(Automatic(c.LeftAxis()));
    EXPECT_FALSE(cw.zoom().Zoomed());
    EXPECT_FALSE(cw.zoom().SnapshotTaken());
    cw.Settle();
    EXPECT_DOUBLE_EQ(c.BottomAxis().Minimum(), c.Series(0).XValue(0));
}

TEST(ZoomScroll, TheRectangleIsDrawnNotXorInTheBackgroundColourWhileDragging) {
    ChartWindow cw;
    const QPoint a = Inside(cw.Plot()), b = a + QPoint(150, 80);
    // A pixel on the rectangle's top edge, in the empty top part of the plot.
    const QPoint edge(a.x() + 75, a.y());
    const QRgb before = cw.widget.grab().toImage().pixel(edge);
    ASSERT_EQ(before, qRgb(240, 240, 240));
    QTest::mousePress(&cw.widget, Qt::LeftButton, Qt::NoModifier, a);
    QTest::mouseMove(&cw.widget, b);
    cw.Settle();
    // Not-xor of the background colour over itself gives white.
    EXPECT_EQ(cw.widget.grab().toImage().pixel(edge), qRgb(255, 255, 255));
    QTest::mouseRelease(&cw.widget, Qt::LeftButton, Qt::NoModifier, a + QPoint(10, 10));
    cw.Settle();
    EXPECT_EQ(cw.widget.grab().toImage().pixel(edge), before);
}

TEST(ZoomScroll, ShortDragsDoNothingAndOtherDirectionsOnlyReset) {
    ChartWindow cw;
    Chart& c = cw.chart();
    int undo = 0;
    cw.zoom().OnUndoZoom = [&] { ++undo; };
    const QPoint a = Inside(cw.Plot());
    Drag(cw.widget, Qt::LeftButton, a, a + QPoint(300, 10));
    Drag(cw.widget, Qt::LeftButton, a, a + QPoint(16, 200));
    EXPECT_TRUE(Automatic(c.BottomAxis()));
    EXPECT_TRUE(Automatic(c.LeftAxis()));
    EXPECT_FALSE(c.ZoomRectangle());
    EXPECT_EQ(undo, 0);
    // Up and to the right, down and to the left: a reset, which with nothing zoomed changes
    // no axis.
    const QPoint m(a.x() + 100, a.y() + 100);
    Drag(cw.widget, Qt::LeftButton, m, m + QPoint(17, -17));
    Drag(cw.widget, Qt::LeftButton, m, m + QPoint(-40, 60));
    EXPECT_EQ(undo, 2);
    EXPECT_TRUE(Automatic(c.BottomAxis()));
    EXPECT_TRUE(Automatic(c.LeftAxis()));
    EXPECT_FALSE(cw.zoom().SnapshotTaken());
}

TEST(ZoomScroll, PanningFiftyPixelsMovesTheBottomAxisByFiftyPixelsWorthInOneMoveOrMany) {
    ChartWindow one, many, right;
    const QPoint a = Inside(one.Plot()) + QPoint(100, 0);
    const ChartAxis& axis = one.chart().BottomAxis();
    const double pixel =
        (axis.Maximum() - axis.Minimum()) / axis.Scale().placement.size; // one pixel's worth
    const Ranges before(one.chart());

    Drag(one.widget, Qt::RightButton, a, a - QPoint(50, 0));
    QTest::mousePress(&many.widget, Qt::RightButton, Qt::NoModifier, a);
    for (int k = 1; k <= 50; ++k) {
        QTest::mouseMove(&many.widget, a - QPoint(k, 0));
        if (k % 7 == 0)
            many.Settle(); // repaints in between change nothing
    }
    QTest::mouseRelease(&many.widget, Qt::RightButton, Qt::NoModifier, a - QPoint(50, 0));
    Drag(right.widget, Qt::RightButton, a, a + QPoint(50, 0));

    for (ChartWindow* w : {&one, &many}) {
        const Ranges after(w->chart());
        // Toward later times.
        EXPECT_NEAR(after.bottomMin - before.bottomMin, 50 * pixel, 1e-9 * pixel);
        EXPECT_NEAR(after.bottomMax - before.bottomMax, 50 * pixel, 1e-9 * pixel);
        // No vertical movement: the value axis stays automatic.
        EXPECT_TRUE(Automatic(w->chart().LeftAxis()));
        EXPECT_TRUE(w->zoom().SnapshotTaken());
        EXPECT_FALSE(w->zoom().PanRecord().active);
    }
    const Ranges back(right.chart());
    EXPECT_NEAR(back.bottomMin - before.bottomMin, -50 * pixel, 1e-9 * pixel);
}

TEST(ZoomScroll, VerticalPanningMovesTheValueAxisWithThePointer) {
    ChartWindow cw;
    Chart& c = cw.chart();
    const QPoint a = Inside(cw.Plot());
    const ChartAxis& left = c.LeftAxis();
    const double pixel = (left.Maximum() - left.Minimum()) / left.Scale().placement.size;
    const Ranges before(c);
    // Down by 20 pixels: higher values come into view.
    Drag(cw.widget, Qt::RightButton, a, a + QPoint(0, 20));
    const Ranges after(c);
    EXPECT_NEAR(after.leftMin - before.leftMin, 20 * pixel, 1e-9 * pixel);
    EXPECT_EQ(after.bottomMin, before.bottomMin);
    EXPECT_TRUE(Automatic(c.BottomAxis()));
}

TEST(ZoomScroll, APanEndsWhenThePointerLeavesThePlot) {
    ChartWindow cw;
    Chart& c = cw.chart();
    const PlotRect p = cw.Plot();
    const QPoint a = Inside(p);
    const Ranges before(c);
    QTest::mousePress(&cw.widget, Qt::RightButton, Qt::NoModifier, a);
    QTest::mouseMove(&cw.widget, a + QPoint(10, 0));
    const Ranges moved(c);
    EXPECT_TRUE(cw.zoom().PanRecord().active);
    // Out over the title, then back in: the drag is over and nothing moves any more.
    QTest::mouseMove(&cw.widget, QPoint(a.x() + 40, p.top - 2));
    EXPECT_FALSE(cw.zoom().PanRecord().active);
    QTest::mouseMove(&cw.widget, a + QPoint(60, 30));
    QTest::mouseRelease(&cw.widget, Qt::RightButton, Qt::NoModifier, a + QPoint(60, 30));
    const Ranges after(c);
    EXPECT_EQ(after.bottomMin, moved.bottomMin);
    EXPECT_EQ(after.leftMin, moved.leftMin);
    EXPECT_NE(moved.bottomMin, before.bottomMin);
}

TEST(ZoomScroll, AZoomAfterAPanKeepsTheSnapshotTakenBeforeThePan) {
    ChartWindow cw;
    Chart& c = cw.chart();
    int zooms = 0, scrolls = 0;
    cw.zoom().OnZoom = [&] { ++zooms; };
    cw.zoom().OnScroll = [&] { ++scrolls; };
    const QPoint a = Inside(cw.Plot());
    Drag(cw.widget, Qt::RightButton, a, a + QPoint(30, 12), 3);
    EXPECT_EQ(scrolls, 3);
    cw.Settle();
    Drag(cw.widget, Qt::LeftButton, a, a + QPoint(200, 100));
    EXPECT_EQ(zooms, 1);
    cw.Settle();
    Drag(cw.widget, Qt::LeftButton, a, a + QPoint(100, 50));
    EXPECT_EQ(zooms, 2);
    EXPECT_FALSE(Automatic(c.BottomAxis()));
    Drag(cw.widget, Qt::LeftButton, a + QPoint(100, 50), a);
    EXPECT_TRUE(Automatic(c.BottomAxis()));
    EXPECT_TRUE(Automatic(c.LeftAxis()));
}

TEST(ZoomScroll, TheWheelMovesTheValueAxisWithoutASnapshotSoNeitherResetNorLoadUndoIt) {
    ChartWindow cw;
    Chart& c = cw.chart();
    const QPoint a = Inside(cw.Plot());
    const Ranges before(c);
    const double range = before.leftMax - before.leftMin;
    Wheel(cw.widget, a, -120); // toward the user
    Wheel(cw.widget, a, -60);  // half a notch does nothing yet
    const double share = 0.03 * range;
    EXPECT_DOUBLE_EQ(c.LeftAxis().Minimum(), before.leftMin + share);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Maximum(), before.leftMax + share);
    Wheel(cw.widget, a, -60);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Minimum(), before.leftMin + 2 * share);
    Wheel(cw.widget, a, 120); // away from the user
    const double scrolledMin = c.LeftAxis().Minimum(), scrolledMax = c.LeftAxis().Maximum();
    EXPECT_NEAR(scrolledMin, before.leftMin + share, 1e-12);
    EXPECT_FALSE(Automatic(c.LeftAxis()));
    EXPECT_TRUE(Automatic(c.BottomAxis()));
    EXPECT_FALSE(cw.zoom().SnapshotTaken());

    // A reset drag has no snapshot to return to.
    Drag(cw.widget, Qt::LeftButton, a + QPoint(100, 100), a);
    EXPECT_EQ(c.LeftAxis().Minimum(), scrolledMin);
    EXPECT_EQ(c.LeftAxis().Maximum(), scrolledMax);
    // Loading a file empties the series, adds the samples and sets the time axis automatic.
    c.Series(0).Clear();
    c.Series(1).Clear();
    FillLogger(c, 200, Day(2024, 4, 1), 1.0 / 1440, 5);
    c.BottomAxis().SetAutomatic(true);
    cw.Settle();
    EXPECT_EQ(c.LeftAxis().Minimum(), scrolledMin);
    EXPECT_EQ(c.LeftAxis().Maximum(), scrolledMax);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Minimum(), Day(2024, 4, 1));
}

TEST(ZoomScroll, WithAllSeriesHiddenOnlyAnAxisStripStartsADrag) {
    ChartWindow cw;
    Chart& c = cw.chart();
    c.Series(0).SetActive(false);
    c.Series(1).SetActive(false);
    cw.Settle();
    const QPoint a = Inside(cw.Plot());
    QTest::mousePress(&cw.widget, Qt::LeftButton, Qt::NoModifier, a);
    EXPECT_FALSE(cw.zoom().ZoomRecord().active);
    EXPECT_FALSE(c.ZoomRectangle());
    QTest::mouseMove(&cw.widget, a + QPoint(200, 100));
    QTest::mouseRelease(&cw.widget, Qt::LeftButton, Qt::NoModifier, a + QPoint(200, 100));
    Drag(cw.widget, Qt::RightButton, a, a + QPoint(40, 40));
    EXPECT_TRUE(Automatic(c.BottomAxis()));
    EXPECT_TRUE(Automatic(c.LeftAxis()));

    // On the bottom axis line: a zoom drag starts and may leave the plot.
    const AxisScale& s = c.BottomAxis().Scale();
    const QPoint onAxis(a.x(), s.axisPosition + 1);
    QTest::mousePress(&cw.widget, Qt::LeftButton, Qt::NoModifier, onAxis);
    EXPECT_TRUE(cw.zoom().ZoomRecord().active);
    QTest::mouseRelease(&cw.widget, Qt::LeftButton, Qt::NoModifier, onAxis + QPoint(200, 40));
    EXPECT_FALSE(Automatic(c.BottomAxis()));
    EXPECT_FALSE(Automatic(c.LeftAxis()));
}

TEST(ZoomScroll, PressesOnTheTitleTheLegendOrOutsideStartNothing) {
    ChartWindow cw;
    const ChartLayout& l = cw.chart().LastLayout();
    const QPoint title(l.titleRect.left + 3, l.titleRect.top + 3);
    const QPoint legend(l.legend.box.left + 3, l.legend.box.top + 3);
    const QPoint corner(2, cw.widget.height() - 3);
    for (const QPoint& at : {title, legend, corner}) {
        for (const Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
            QTest::mousePress(&cw.widget, b, Qt::NoModifier, at);
            EXPECT_FALSE(cw.zoom().ZoomRecord().active);
            EXPECT_FALSE(cw.zoom().PanRecord().active);
            QTest::mouseRelease(&cw.widget, b, Qt::NoModifier, at);
        }
    }
    // The middle button, or a press while another drag is on, starts nothing either.
    const QPoint a = Inside(cw.Plot());
    QTest::mousePress(&cw.widget, Qt::MiddleButton, Qt::NoModifier, a);
    QTest::mouseRelease(&cw.widget, Qt::MiddleButton, Qt::NoModifier, a);
    QTest::mousePress(&cw.widget, Qt::LeftButton, Qt::NoModifier, a);
    QTest::mousePress(&cw.widget, Qt::RightButton, Qt::NoModifier, a);
    EXPECT_TRUE(cw.zoom().ZoomRecord().active);
    EXPECT_FALSE(cw.zoom().PanRecord().active);
    QTest::mouseRelease(&cw.widget, Qt::RightButton, Qt::NoModifier, a);
    EXPECT_TRUE(cw.zoom().ZoomRecord().active);
    QTest::mouseRelease(&cw.widget, Qt::LeftButton, Qt::NoModifier, a);
    EXPECT_FALSE(cw.zoom().ZoomRecord().active);
}

TEST(ZoomScroll, SettingsAndTheAllowScrollEventLimitWhatMoves) {
    ChartWindow cw;
    Chart& c = cw.chart();
    const QPoint a = Inside(cw.Plot());
    // Refusing the bottom axis keeps it; the value axis still follows the pointer.
    cw.zoom().OnAllowScroll = [](ChartAxis& axis, double&, double&, bool& allow) {
        allow = axis.Kind() != AxisKind::Bottom;
    };
    const Ranges before(c);
    Drag(cw.widget, Qt::RightButton, a, a + QPoint(25, 25));
    EXPECT_EQ(c.BottomAxis().Minimum(), before.bottomMin);
    EXPECT_TRUE(Automatic(c.BottomAxis()));
    EXPECT_GT(c.LeftAxis().Minimum(), before.leftMin);
    // The event may also change the proposed range.
    cw.zoom().OnAllowScroll = [](ChartAxis&, double& minimum, double& maximum, bool&) {
        minimum = 1;
        maximum = 2;
    };
    Drag(cw.widget, Qt::RightButton, a, a + QPoint(5, 5));
    EXPECT_EQ(c.BottomAxis().Minimum(), 1);
    EXPECT_EQ(c.LeftAxis().Maximum(), 2);
    cw.zoom().OnAllowScroll = nullptr;

    cw.zoom().SetAllowPanning(PanMode::Horizontal);
    const Ranges horizontal(c);
    Drag(cw.widget, Qt::RightButton, a, a + QPoint(10, 10));
    EXPECT_NE(c.BottomAxis().Minimum(), horizontal.bottomMin);
    EXPECT_EQ(c.LeftAxis().Minimum(), horizontal.leftMin);
    cw.zoom().SetAllowPanning(PanMode::None);
    cw.zoom().SetAllowZoom(false);
    const Ranges locked(c);
    Drag(cw.widget, Qt::RightButton, a, a + QPoint(10, 10));
    Drag(cw.widget, Qt::LeftButton, a, a + QPoint(200, 100));
    EXPECT_EQ(c.BottomAxis().Minimum(), locked.bottomMin);
    EXPECT_EQ(c.LeftAxis().Minimum(), locked.leftMin);
}

TEST(ZoomScroll, AnAnimatedZoomPaintsItsStepsAndEndsOnTheTarget) {
    ChartWindow plain, animated;
    animated.zoom().SetAnimatedZoom(true);
    int paints = 0;
    struct Counter : QObject {
        int* n;
        explicit Counter(int* count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            *n += e->type() == QEvent::Paint;
            return false;
        }
    } counter(&paints);
    animated.widget.installEventFilter(&counter);
    const QPoint a = Inside(plain.Plot());
    Drag(plain.widget, Qt::LeftButton, a, a + QPoint(200, 100));
    Drag(animated.widget, Qt::LeftButton, a, a + QPoint(200, 100));
    EXPECT_GE(paints, animated.zoom().AnimatedZoomSteps() - 1);
    const Ranges p(plain.chart()), q(animated.chart());
    EXPECT_EQ(q.bottomMin, p.bottomMin);
    EXPECT_EQ(q.bottomMax, p.bottomMax);
    EXPECT_EQ(q.leftMin, p.leftMin);
    EXPECT_EQ(q.leftMax, p.leftMax);
}

TEST(ZoomScroll, ThePointerShowsTheCursorOfASeriesUnderIt) {
    ChartWindow cw;
    Chart& c = cw.chart();
    c.Series(1).SetCursor(Qt::CrossCursor);
    const std::size_t i = c.Series(1).Count() / 2;
    const QPoint onLine(c.BottomAxis().ValueToPosition(c.Series(1).XValue(i)),
                        c.LeftAxis().ValueToPosition(c.Series(1).YValue(i)));
    const QPoint away(cw.Plot().left + 5, cw.Plot().top + 3);
    auto hover = [&](QPoint at) {
        QMouseEvent e(QEvent::MouseMove, at, cw.widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&cw.widget, &e);
        return cw.widget.cursor().shape();
    };
    EXPECT_EQ(hover(onLine), Qt::CrossCursor);
    EXPECT_EQ(hover(away), Qt::ArrowCursor);
    cw.zoom().SetChartCursor(Qt::PointingHandCursor);
    EXPECT_EQ(hover(away), Qt::PointingHandCursor);
    c.Series(1).SetActive(false);
    cw.Settle();
    EXPECT_EQ(hover(onLine), Qt::PointingHandCursor);
}
