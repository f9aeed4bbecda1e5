// Storing points: X order with equal X in arrival order, the returned index, colours and
// labels travelling with their points, extremes, clearing and repaint requests.

#include "chart/LineSeries.h"
#include "chart/Chart.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

using namespace velkor::chart;

namespace {

std::vector<double> Xs(const LineSeries& s) {
    const auto v = s.XValues().Values();
    return {v.begin(), v.end()};
}
std::vector<double> Ys(const LineSeries& s) {
    const auto v = s.YValues().Values();
    return {v.begin(), v.end()};
}

} // namespace

TEST(LineSeries, DefaultsOfTheValueLists) {
    LineSeries s;
    EXPECT_EQ(s.XValues().Name(), "X");
    EXPECT_TRUE(s.XValues().DateTime());
    EXPECT_EQ(s.XValues().Order(), ValueOrder::Ascending);
    EXPECT_EQ(s.XValues().Multiplier(), 1);
    EXPECT_EQ(s.YValues().Name(), "Y");
    EXPECT_FALSE(s.YValues().DateTime());
    EXPECT_EQ(s.YValues().Order(), ValueOrder::None);
    EXPECT_TRUE(s.Active());
    EXPECT_TRUE(s.ShowInLegend());
    EXPECT_EQ(s.LinePen().style, PenStyle::Solid);
    EXPECT_EQ(s.LinePen().width, 1);
}

TEST(LineSeries, PointsInTimeOrderAreAppended) {
    LineSeries s;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(s.AddXY(i, 10 + i), i);
    EXPECT_EQ(s.Count(), 5u);
    EXPECT_EQ(Ys(s), (std::vector<double>{10, 11, 12, 13, 14}));
}

TEST(LineSeries, AnEarlierPointGoesBeforeLaterOnesAndEqualXKeepArrivalOrder) {
    LineSeries s;
    s.AddXY(1, 100);
    s.AddXY(3, 300);
    s.AddXY(5, 500);
    EXPECT_EQ(s.AddXY(2, 200), 1);
    EXPECT_EQ(s.AddXY(3, 301), 3); // after the 3 already there
    EXPECT_EQ(s.AddXY(0, 0), 0);
    EXPECT_EQ(s.AddXY(5, 501), 6); // not smaller than the last: appended
    EXPECT_EQ(Xs(s), (std::vector<double>{0, 1, 2, 3, 3, 5, 5}));
    EXPECT_EQ(Ys(s), (std::vector<double>{0, 100, 200, 300, 301, 500, 501}));
    EXPECT_EQ(s.XValue(4), 3);
    EXPECT_EQ(s.YValue(4), 301);
}

// Random arrival with many equal X values, checked against inserting into a plain list.
TEST(LineSeries, AnyArrivalOrderGivesTheStableSortAndTheRightIndexes) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> value(0, seed % 2 ? 40 : 5000);
        std::uniform_int_distribution<int> kind(0, 9);
        LineSeries s;
        std::vector<std::pair<double, double>> list;
        double x = 1000;
        for (int i = 0; i < 3000; ++i) {
            // Mostly ascending runs, some descending runs, some jumps back.
            const int k = kind(rng);
            x = k < 5 ? x + value(rng) % 3 : k < 8 ? x - value(rng) % 3 : value(rng);
            const auto at = std::upper_bound(
                list.begin(), list.end(), x,
                [](double v, const std::pair<double, double>& p) { return v < p.first; });
            const int expected = static_cast<int>(at - list.begin());
            list.insert(at, {x, i});
            ASSERT_EQ(s.AddXY(x, i), expected) << "seed " << seed << " point " << i;
            if (i % 997 == 0) { // reading in between merges what is pending
                ASSERT_EQ(s.XValue(static_cast<std::size_t>(expected)), x);
            }
        }
        ASSERT_EQ(s.Count(), list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            ASSERT_EQ(s.XValue(i), list[i].first) << i;
            ASSERT_EQ(s.YValue(i), list[i].second) << i;
        }
    }
}

TEST(LineSeries, AFileInReverseOrderEndsUpAscending) {
    LineSeries s;
    const int n = 20000;
    for (int i = n - 1; i >= 0; --i)
        EXPECT_EQ(s.AddXY(i / 2, i), i % 2 == 0 ? 1 : 0) << i;
    const std::vector<double> xs = Xs(s), ys = Ys(s);
    ASSERT_EQ(xs.size(), static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(xs[i], i / 2);
        // Of two equal X the one that came first (the larger i) stays first.
        EXPECT_EQ(ys[i], (i / 2) * 2 + 1 - i % 2);
    }
}

// Strictly descending points are kept as they come and turned round when read.
TEST(LineSeries, StrictlyDescendingPointsTurnRoundWithTheirColoursAndLabels) {
    LineSeries s;
    s.SetSeriesColor(Green);
    for (int x = 9; x >= 5; --x)
        EXPECT_EQ(s.AddXY(x, 10 * x, x == 7 ? "seven" : "", x == 6 ? Red : DefaultColor), 0);
    EXPECT_EQ(Xs(s), (std::vector<double>{5, 6, 7, 8, 9}));
    EXPECT_EQ(s.AddXY(4, 40), 0); // after a read: below the ascending arrays
    EXPECT_EQ(s.AddXY(7, 71), 4);
    EXPECT_EQ(Xs(s), (std::vector<double>{4, 5, 6, 7, 7, 8, 9}));
    EXPECT_EQ(Ys(s), (std::vector<double>{40, 50, 60, 70, 71, 80, 90}));
    EXPECT_EQ(s.DrawColor(2), Red);
    EXPECT_EQ(s.DrawColor(3), Green);
    EXPECT_EQ(s.Label(3), "seven");
    EXPECT_TRUE(s.Label(4).isEmpty());
}

TEST(LineSeries, ColoursAndLabelsTravelWithTheirPoints) {
    LineSeries s;
    s.SetSeriesColor(Green);
    s.AddXY(10, 1, "ten", Red);
    s.AddXY(30, 3);
    s.AddXY(20, 2, "twenty", Blue);
    s.AddXY(5, 0);
    EXPECT_EQ(Xs(s), (std::vector<double>{5, 10, 20, 30}));
    EXPECT_EQ(s.PointColor(0), DefaultColor);
    EXPECT_EQ(s.DrawColor(0), Green);
    EXPECT_EQ(s.DrawColor(1), Red);
    EXPECT_EQ(s.DrawColor(2), Blue);
    EXPECT_EQ(s.DrawColor(3), Green);
    EXPECT_EQ(s.Label(1), "ten");
    EXPECT_EQ(s.Label(2), "twenty");
    EXPECT_TRUE(s.Label(3).isEmpty());
    EXPECT_TRUE(s.HasLabels());
    Color c;
    EXPECT_FALSE(s.Points().UniformColor(c));
}

TEST(LineSeries, OneColourAndNoLabelsCostNothingPerPoint) {
    LineSeries s;
    for (int i = 0; i < 100000; ++i)
        s.AddXY(i, i % 7, {}, Red);
    Color c = 0;
    EXPECT_TRUE(s.Points().UniformColor(c));
    EXPECT_EQ(c, Red);
    EXPECT_FALSE(s.HasLabels());
    EXPECT_LE(s.MemoryBytes(), 40u * s.Count());
}

TEST(LineSeries, ExtremesClearAndMultiplier) {
    LineSeries s;
    EXPECT_EQ(s.YValues().MinValue(), 0);
    s.AddXY(3, 41.2);
    s.AddXY(1, 44.8);
    s.AddXY(2, std::nan(""));
    EXPECT_EQ(s.XValues().MinValue(), 1);
    EXPECT_EQ(s.XValues().MaxValue(), 3);
    EXPECT_EQ(s.YValues().MinValue(), 41.2);
    EXPECT_EQ(s.YValues().MaxValue(), 44.8);
    s.Clear();
    EXPECT_EQ(s.Count(), 0u);
    EXPECT_EQ(s.YValues().MaxValue(), 0);
    s.YValues().SetMultiplier(10);
    s.AddXY(1, 2.5);
    EXPECT_EQ(s.YValue(0), 25);
}

TEST(LineSeries, WithoutOrderPointsStayInArrivalOrder) {
    LineSeries s;
    s.XValues().SetOrder(ValueOrder::None);
    s.AddXY(3, 0);
    EXPECT_EQ(s.AddXY(1, 1), 1);
    EXPECT_EQ(Xs(s), (std::vector<double>{3, 1}));
}

TEST(LineSeries, AddingAndClearingAskForARepaintOnlyWhileActive) {
    Chart c;
    int asks = 0;
    c.SetChangeCallback([&] { ++asks; });
    LineSeries& s = c.AddSeries();
    EXPECT_EQ(asks, 1);
    QImage image(100, 100, QImage::Format_RGB32);
    auto paint = [&] {
        QPainter p(&image);
        c.Paint(p, image.rect());
    };
    paint();
    s.AddXY(1, 1);
    EXPECT_EQ(asks, 2);
    paint();
    s.SetActive(false);
    EXPECT_EQ(asks, 3);
    paint();
    s.AddXY(2, 2);
    s.Clear();
    EXPECT_EQ(asks, 3);
    s.SetActive(false);
    EXPECT_EQ(asks, 3);
    s.SetActive(true);
    EXPECT_EQ(asks, 4);
    paint();
    s.Clear(); // already empty: nothing changes
    EXPECT_EQ(asks, 4);
    s.SetTitle("T");
    EXPECT_EQ(asks, 5);
}
