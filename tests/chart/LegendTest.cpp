// Legend layout at the bottom: columns, rows, centring, symbol and text places, the plot
// shrinking by it; and the item text fallbacks.

#include "chart/Legend.h"
#include "chart/Rounding.h"

#include <gtest/gtest.h>

using namespace velkor::chart;

namespace {

LegendInput ChartLegend(std::vector<int> widths) {
    LegendInput in;
    in.alignment = LegendAlignment::Bottom;
    in.colorWidth = 15;
    in.shadowSize = 2;
    in.topPos = 0;
    in.vertMargin = 1;
    in.textWidths = std::move(widths);
    in.fontHeight = 13;
    in.chartWidth = 665;
    in.chartHeight = 449;
    return in;
}

const PlotRect Plot{13, 27, 652, 440};

} // namespace

TEST(LegendLayout, TwoItemsSideBySideCentredUnderThePlot) {
    const LegendGeometry g = LayoutLegend(ChartLegend({60, 50}), Plot);
    ASSERT_TRUE(g.drawn);
    EXPECT_EQ(g.textWidth, 60);
    EXPECT_EQ(g.symbolLength, 10); // Round(64 * 0.15)
    EXPECT_EQ(g.columns, 2);
    EXPECT_EQ(g.rows, 1);
    EXPECT_EQ(g.box.bottom, 440 - 2 - 2);
    EXPECT_EQ(g.box.top, 436 - 13 - 2);
    const int width = 2 * 2 + (10 + 60 + 8) * 2 + 8;
    EXPECT_EQ(g.box.right - g.box.left, width);
    EXPECT_EQ(g.box.left, (13 + 652) / 2 - width / 2);
    ASSERT_EQ(g.textAt.size(), 2u);
    EXPECT_EQ(g.textAt[0], QPoint(g.box.left + 10 + 8, g.box.top + 1));
    EXPECT_EQ(g.textAt[1], QPoint(g.box.left + 10 + 8 + 60 + 4 + 10 + 4, g.box.top + 1));
    const int mid = ((g.box.top + 1 + 2) + (g.box.top + 1 + 13 - 2)) / 2;
    EXPECT_EQ(g.symbols[0], QLine(g.textAt[0].x() - 4 - 10, mid, g.textAt[0].x() - 5, mid));
    EXPECT_EQ(g.frameBox,
              (PlotRect{g.box.left - 1, g.box.top - 1, g.box.right + 1, g.box.bottom + 1}));
    EXPECT_EQ(g.shadow.left, g.frameBox.left + 2);
    EXPECT_EQ(g.shadow.bottom, g.frameBox.bottom + 2);
    EXPECT_EQ(g.plot.bottom, g.box.top - 1);
    EXPECT_EQ(g.plot.top, Plot.top);
}

TEST(LegendLayout, OneItemShrinksAndStaysCentred) {
    const LegendGeometry two = LayoutLegend(ChartLegend({60, 50}), Plot);
    const LegendGeometry one = LayoutLegend(ChartLegend({50}), Plot);
    ASSERT_TRUE(one.drawn);
    EXPECT_EQ(one.columns, 1);
    const int width = 4 + (RoundToInt(54 * 0.15) + 50 + 8) + 8;
    EXPECT_EQ(one.box.right - one.box.left, width);
    EXPECT_LT(one.box.right - one.box.left, two.box.right - two.box.left);
    const int centre = (13 + 652) / 2;
    EXPECT_LE(std::abs((one.box.left + one.box.right) / 2 - centre), 1);
    EXPECT_EQ(one.textAt[0].x(), one.box.left + one.symbolLength + 8);
}

TEST(LegendLayout, NoItemsOrNoRoomDrawNothingAndKeepThePlot) {
    const LegendGeometry none = LayoutLegend(ChartLegend({}), Plot);
    EXPECT_FALSE(none.drawn);
    EXPECT_EQ(none.plot, Plot);
    const LegendGeometry narrow = LayoutLegend(ChartLegend({60}), PlotRect{0, 0, 70, 100});
    EXPECT_FALSE(narrow.drawn);
    EXPECT_EQ(narrow.plot.bottom, 100);
}

TEST(LegendLayout, ManyItemsWrapIntoRowsUpToTheLimit) {
    LegendInput in = ChartLegend(std::vector<int>(30, 60));
    LegendGeometry g = LayoutLegend(in, Plot);
    EXPECT_EQ(g.columns, (639 - 2 - 8) / (60 + 4 + 10 + 8));
    EXPECT_EQ(g.rows, (30 + g.columns - 1) / g.columns);
    EXPECT_EQ(g.box.top, g.box.bottom - g.rows * 13 - 2);
    EXPECT_EQ(g.textAt[g.columns].y(), g.box.top + 1 + 13); // second row
    in.maxNumRows = 2;
    g = LayoutLegend(in, Plot);
    EXPECT_EQ(g.rows, 2);
    EXPECT_EQ(g.textAt.size(), static_cast<std::size_t>(2 * g.columns));
}

TEST(LegendLayout, MarginAndResizeAndShift) {
    LegendInput in = ChartLegend({60});
    in.vertMargin = 0;
    LegendGeometry g = LayoutLegend(in, Plot);
    EXPECT_EQ(g.plot.bottom, g.box.top - RoundToInt(0.04 * Plot.Height()));
    in.resizeChart = false;
    EXPECT_EQ(LayoutLegend(in, Plot).plot, Plot);
    in = ChartLegend({60});
    const int left0 = LayoutLegend(in, Plot).box.left;
    in.topPos = 10;
    const int width = LayoutLegend(in, Plot).box.right - LayoutLegend(in, Plot).box.left;
    EXPECT_EQ(LayoutLegend(in, Plot).box.left, left0 + RoundToInt(10 * (665 - width) / 100.0));
}

TEST(LegendText, TitleThenNameThenSeriesAndIndex) {
    EXPECT_EQ(LegendItemText("Temperatura", "Series1", 0), "Temperatura");
    EXPECT_EQ(LegendItemText("", "Series1", 0), "Series1");
    EXPECT_EQ(LegendItemText("", "", 1), "Series 1");
}
