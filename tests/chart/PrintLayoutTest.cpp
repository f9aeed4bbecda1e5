// Where the printed chart goes: proportional margins, the page rectangle and its logical units.

#include "chart/PrintLayout.h"

#include <gtest/gtest.h>

using namespace velkor::chart;

TEST(PrintLayout, AWideChartKeepsFifteenPercentSidesAndComputedTopAndBottom) {
    // 0.6 * 1000 * 449 / 665 = 405.11; (700 - 405.11) * 100 / 700 = 42.13 -> 42 -> 21.
    EXPECT_EQ(ProportionalMargin(1000, 700, 449.0 / 665, 1), 21);
    const PrintMargins m = ProportionalMargins(665, 449, 1000, 700, 1);
    EXPECT_EQ(m, (PrintMargins{15, 21, 15, 21}));
    // A4 landscape at 1200 dpi, 14032 x 9920 pixels: (9920 - 5684.3) / 99.2 = 42.7 -> 43 -> 21.
    EXPECT_EQ(ProportionalMargins(665, 449, 14032, 9920, 1), (PrintMargins{15, 21, 15, 21}));
    // Pixels twice as wide as high make the chart take twice the height.
    // (700 - 810.2) * 100 / 700 = -15.7 -> -16 -> -8.
    EXPECT_EQ(ProportionalMargins(665, 449, 1000, 700, 2).top, -8);
}

TEST(PrintLayout, ATallChartKeepsFifteenPercentTopAndBottomAndComputedSides) {
    // 0.6 * 700 * 300 / 500 = 252; (1000 - 252) * 100 / 1000 = 74.8 -> 75 -> 37 (37.5 cut).
    EXPECT_EQ(ProportionalMargins(300, 500, 1000, 700, 1), (PrintMargins{37, 15, 37, 15}));
    // A square chart counts as tall: 0.6 * 700 = 420; 58 -> 29.
    EXPECT_EQ(ProportionalMargins(400, 400, 1000, 700, 1), (PrintMargins{29, 15, 29, 15}));
    // The quotient is cut toward zero: -3 / 2 gives -1, not -2.
    EXPECT_EQ(ProportionalMargin(1000, 580, 664.0 / 665, 1), -1);
}

TEST(PrintLayout, EmptyChartsAndPagesGiveNoNonsense) {
    EXPECT_EQ(ProportionalMargin(1000, 0, 0.5, 1), 0);
    EXPECT_EQ(ProportionalMargins(0, 0, 1000, 700, 1), (PrintMargins{15, 15, 15, 15}));
    EXPECT_EQ(LogicalRectangle({10, 10, 10, 50}, QSize(665, 449)), PlotRect());
}

TEST(PrintLayout, ThePageRectangleRoundsHalvesToEven) {
    // 15 % of 1010 is 151.5 -> 152; of 1030 it is 154.5 -> 154.
    EXPECT_EQ(PageRectangle({15, 15, 15, 15}, 1010, 1030), (PlotRect{152, 154, 858, 876}));
    EXPECT_EQ(PageRectangle({15, 21, 15, 21}, 14032, 9920), (PlotRect{2105, 2083, 11927, 7837}));
}

TEST(PrintLayout, TheRectangleInLogicalUnitsAndTheReducedSize) {
    EXPECT_EQ(LogicalSize(QSize(665, 449), 0), QSize(665, 449));
    // MulDiv(665, 10, 100) = 66.5 rounded away from zero: 67.
    EXPECT_EQ(LogicalSize(QSize(665, 449), 10), QSize(598, 404));
    // A page rectangle 9822 x 5754 wide for a 665 x 449 drawing.
    const PlotRect page{2105, 2083, 11927, 7837};
    const PlotRect l = LogicalRectangle(page, QSize(665, 449));
    EXPECT_EQ(l, (PlotRect{143, 163, 808, 612}));
    EXPECT_EQ(l.Width(), 665);
    EXPECT_EQ(l.Height(), 449);
    EXPECT_EQ(Normalized({10, 50, 5, 20}), (PlotRect{5, 20, 10, 50}));
}
