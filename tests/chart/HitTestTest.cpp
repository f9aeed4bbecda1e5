// What a press hits: the segment rule, the axis strips, and the order of series, axes, title,
// plot and legend on a laid-out chart.

#include "chart/ChartHitTest.h"
#include "tests/chart/LoggerChartSetup.h"

#include <gtest/gtest.h>

using namespace velkor::chart;
using namespace velkor::chart::testing;

TEST(HitTest, APointIsOnASegmentWithinAboutOnePixelAndBetweenItsEnds) {
    EXPECT_TRUE(OnSegment({5, 0}, {0, 0}, {10, 0}));
    EXPECT_TRUE(OnSegment({10, 0}, {0, 0}, {10, 0}));
    EXPECT_FALSE(OnSegment({5, 1}, {0, 0}, {10, 0}));
    EXPECT_FALSE(OnSegment({11, 0}, {0, 0}, {10, 0}));
    EXPECT_TRUE(OnSegment({5, 5}, {10, 10}, {0, 0}));
    EXPECT_FALSE(OnSegment({5, 6}, {0, 0}, {10, 10}));
    // A steep segment: a pixel beside the line by less than one pixel counts.
    EXPECT_TRUE(OnSegment({1, 5}, {0, 0}, {2, 10}));
    EXPECT_TRUE(OnSegment({1, 4}, {0, 0}, {2, 10}));
    EXPECT_FALSE(OnSegment({2, 4}, {0, 0}, {2, 10}));
    EXPECT_FALSE(OnSegment({0, -1}, {0, 0}, {2, 10}));
}

TEST(HitTest, PartsOfALaidOutChartInTheirOrder) {
    Chart c;
    ConfigureLoggerChart(c);
    FillLogger(c, 3 * 144, Day(2024, 3, 5, 14, 30), 1.0 / 144);
    Render(c);
    const ChartLayout& l = c.LastLayout();
    const AxisScale& bottom = c.BottomAxis().Scale();
    const AxisScale& left = c.LeftAxis().Scale();
    const int x = (bottom.placement.start + bottom.placement.end) / 2;
    auto part = [&](QPoint p) { return HitTest(c, p).part; };

    // The bottom axis strip: from 3 pixels inside the plot to where its labels begin.
    EXPECT_EQ(part({x, bottom.axisPosition - 3}), ChartPart::Axis);
    EXPECT_EQ(HitTest(c, {x, bottom.axisPosition - 3}).axis, &c.BottomAxis());
    EXPECT_EQ(part({x, bottom.labelsPosition}), ChartPart::Axis);
    EXPECT_EQ(part({x, bottom.labelsPosition + 1}), ChartPart::None);
    EXPECT_EQ(part({bottom.placement.end + 1, bottom.axisPosition + 1}), ChartPart::None);
    // The left axis strip lies left of the plot's edge, three pixels into it.
    const int y = (left.placement.start + left.placement.end) / 2;
    EXPECT_EQ(HitTest(c, {left.axisPosition + 3, y}).axis, &c.LeftAxis());
    EXPECT_EQ(HitTest(c, {left.labelsPosition, y}).axis, &c.LeftAxis());
    EXPECT_EQ(part({left.labelsPosition - 1, y}), ChartPart::None);
    // Hidden axes have no strip.
    const AxisScale& right = c.RightAxis().Scale();
    EXPECT_FALSE(AxisStripAt(c.RightAxis(), {right.axisPosition, y}));

    EXPECT_EQ(part({l.titleRect.left + 2, l.titleRect.top + 2}), ChartPart::Title);
    EXPECT_EQ(part({l.legend.box.left + 2, l.legend.box.top + 2}), ChartPart::Legend);
    EXPECT_EQ(part({l.plot.left + 10, l.plot.top + 2}), ChartPart::Plot);
    EXPECT_EQ(part({l.plot.right, l.plot.top + 2}), ChartPart::None);

    // A sample's pixel is on its series' line; where both lines meet, humidity (the later
    // series) is found first.
    const std::size_t i = 100;
    const QPoint t(c.BottomAxis().ValueToPosition(c.Series(0).XValue(i)),
                   c.LeftAxis().ValueToPosition(c.Series(0).YValue(i)));
    EXPECT_EQ(HitTest(c, t).series, &c.Series(0));
    EXPECT_EQ(HitTest(c, t, false).part, ChartPart::Plot);
    c.Series(0).SetActive(false);
    EXPECT_NE(HitTest(c, t).series, &c.Series(0));
}

TEST(HitTest, OnlyTheDrawnPartOfALineCountsAndThePlotNeedsAnActiveSeries) {
    Chart c;
    ConfigureLoggerChart(c);
    c.Series(0).AddXY(0, 0);
    c.Series(0).AddXY(10, 10);
    c.BottomAxis().AssignRange(4, 6);
    c.LeftAxis().AssignRange(4, 6);
    Render(c);
    const PlotRect& plot = c.LastLayout().plot;
    SeriesView view;
    view.x = c.BottomAxis().Scale().placement;
    view.y = c.LeftAxis().Scale().placement;
    view.plot = plot;
    // The line runs from bottom left to top right far beyond the plot; inside it is found,
    // outside it is not drawn.
    const QPoint mid(view.x.ValueToPosition(5), view.y.ValueToPosition(5));
    EXPECT_TRUE(SeriesLineAt(c.Series(0), view, mid));
    const QPoint beyond(view.x.ValueToPosition(3), view.y.ValueToPosition(3));
    ASSERT_FALSE(InPlot(plot, beyond));
    EXPECT_FALSE(SeriesLineAt(c.Series(0), view, beyond));

    c.Series(0).SetActive(false);
    c.Series(1).SetActive(false);
    Render(c);
    const QPoint inside(plot.left + 10, plot.top + 10);
    EXPECT_EQ(HitTest(c, inside).part, ChartPart::None);
    EXPECT_FALSE(StartsDrag(HitTest(c, inside)));
    const AxisScale& s = c.BottomAxis().Scale();
    EXPECT_TRUE(StartsDrag(HitTest(c, {s.placement.start, s.axisPosition})));
}
