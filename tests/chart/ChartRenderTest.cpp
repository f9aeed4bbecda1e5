// The chart painted into a 665 x 449 image, configured like the logger tool's chart: layout,
// axis stretches, label texts and positions for the edge cases, hidden series, the legend,
// the line entering from the left edge, printing differences and the zoom rectangle.

#include "tests/chart/LoggerChartSetup.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::chart;
using namespace velkor::chart::testing;

namespace {

int FontHeight() {
    return QFontMetrics(ToQFont(ChartFont())).height();
}
int TextWidth(const QString& s) {
    return QFontMetrics(ToQFont(ChartFont())).horizontalAdvance(s);
}

bool IsBlack(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

int CountColour(const QImage& image, QRgb colour, QRect area) {
    area = area.intersected(image.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// Dark text pixels (antialiased glyphs included) in an area.
int DarkPixels(const QImage& image, QRect area) {
    area = area.intersected(image.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qGray(image.pixel(x, y)) < 100;
    return n;
}

QStringList Texts(const ChartAxis& axis) {
    QStringList out;
    for (const AxisLabel& l : axis.Scale().labels)
        out << l.text;
    return out;
}

struct Fixture {
    Chart chart;
    Fixture() { ConfigureLoggerChart(chart); }
};

} // namespace

TEST(ChartRender, LayoutOfThePlotTitleLegendAndAxes) {
    Fixture f;
    f.chart.Series(0).AddXY(45000, 0);
    f.chart.Series(0).AddXY(45001, 100);
    f.chart.Series(1).AddXY(45000, 50);
    const QImage image = Render(f.chart);
    const int h = FontHeight();
    const PlotRect& plot = f.chart.LastLayout().plot;
    EXPECT_EQ(plot.top, 9 + h + 5);
    EXPECT_EQ(plot.right, 665 - 13);
    const int legendTop = 449 - 9 - 2 - 2 - h - 2;
    EXPECT_EQ(f.chart.LastLayout().legend.box.top, legendTop);
    EXPECT_EQ(plot.bottom, legendTop - 1 - (30 + 2 + 1));
    EXPECT_EQ(plot.left, 13 + TextWidth("100") + TextWidth(" ") + 2 + 3);
    // Blue title pixels above the plot, centred.
    int blue = 0;
    for (int y = 9; y < 9 + h; ++y)
        for (int x = 250; x < 415; ++x)
            blue += qBlue(image.pixel(x, y)) > 150 && qRed(image.pixel(x, y)) < 100;
    EXPECT_GT(blue, 20);
}

TEST(ChartRender, BottomAxisSpansTwoToNinetyEightAndLeftAxisTenToNinetyPercent) {
    Fixture f;
    FillLogger(f.chart, 500, Day(2024, 3, 5), 1.0 / 144);
    const QImage image = Render(f.chart);
    const PlotRect& plot = f.chart.LastLayout().plot;
    const AxisPlacement& b = f.chart.BottomAxis().Scale().placement;
    EXPECT_EQ(b.start, plot.left + RoundToInt(plot.Width() * 0.02));
    EXPECT_EQ(b.end, plot.left + RoundToInt(plot.Width() * 0.98));
    const int row = plot.bottom - 1; // the inner pixel row of the two-pixel axis line
    EXPECT_TRUE(IsBlack(image, b.start, row));
    EXPECT_TRUE(IsBlack(image, b.end, row));
    EXPECT_TRUE(IsBlack(image, (b.start + b.end) / 2, row));
    EXPECT_FALSE(IsBlack(image, b.start - 1, row));
    EXPECT_FALSE(IsBlack(image, b.end + 1, row));
    const AxisPlacement& l = f.chart.LeftAxis().Scale().placement;
    EXPECT_EQ(l.start, plot.top + RoundToInt(plot.Height() * 0.10));
    EXPECT_EQ(l.end, plot.top + RoundToInt(plot.Height() * 0.90));
    const int column = plot.left + 1;
    EXPECT_TRUE(IsBlack(image, column, l.start));
    EXPECT_TRUE(IsBlack(image, column, l.end));
    EXPECT_FALSE(IsBlack(image, column, l.start - 1));
    EXPECT_FALSE(IsBlack(image, column, l.end + 1));
    // The lowest and highest values sit on the ends of the value axis.
    const double lowest =
        std::min(f.chart.Series(0).YValues().MinValue(), f.chart.Series(1).YValues().MinValue());
    EXPECT_EQ(f.chart.LeftAxis().ValueToPosition(lowest), l.end);
}

TEST(ChartRender, EmptyChartShowsTheDayZeroOverMidnightAndZeroAtTheCentres) {
    Fixture f;
    const QImage image = Render(f.chart);
    const ChartAxis& b = f.chart.BottomAxis();
    const ChartAxis& l = f.chart.LeftAxis();
    EXPECT_EQ(b.Minimum(), 0);
    EXPECT_EQ(b.Maximum(), 0);
    ASSERT_EQ(b.Scale().labels.size(), 1u);
    EXPECT_EQ(LabelLines(b.Scale().labels[0].text), (QStringList{"1899-12-30", "00:00"}));
    EXPECT_EQ(b.Scale().labels[0].position, b.Scale().placement.centre);
    ASSERT_EQ(l.Scale().labels.size(), 1u);
    EXPECT_EQ(l.Scale().labels[0].text, "0");
    EXPECT_EQ(l.Scale().labels[0].position, l.Scale().placement.centre);
    // Both text lines are drawn under the tick, centred on it.
    const int x = b.Scale().placement.centre, top = b.Scale().labelsPosition;
    const int h = FontHeight();
    EXPECT_GT(DarkPixels(image, QRect(x - 30, top, 60, h)), 20);
    EXPECT_GT(DarkPixels(image, QRect(x - 15, top + h, 30, h)), 10);
    EXPECT_EQ(DarkPixels(image, QRect(x - 30, top + 2 * h + 1, 60, 4)), 0);
}

TEST(ChartRender, OneSampleLabelsBothCentresAndDrawsNoLine) {
    Fixture f;
    const double t = Day(2024, 3, 5, 14, 30);
    f.chart.Series(0).AddXY(t, 21.5, {}, Red);
    const QImage image = Render(f.chart);
    const ChartAxis& b = f.chart.BottomAxis();
    ASSERT_EQ(b.Scale().labels.size(), 1u);
    EXPECT_EQ(LabelLines(b.Scale().labels[0].text), (QStringList{"2024-03-05", "14:30"}));
    EXPECT_EQ(b.Scale().labels[0].position, b.Scale().placement.centre);
    ASSERT_EQ(f.chart.LeftAxis().Scale().labels.size(), 1u);
    EXPECT_EQ(f.chart.LeftAxis().Scale().labels[0].text, "21.5");
    EXPECT_EQ(b.ValueToPosition(t), b.Scale().placement.centre);
    EXPECT_EQ(CountColour(image, qRgb(255, 0, 0), f.chart.LastLayout().plot.ToQRect()), 0);
}

TEST(ChartRender, OneDayOfMinuteSamplesIsLabelledEverySixHours) {
    Fixture f;
    const double start = Day(2024, 3, 5, 10, 17);
    FillLogger(f.chart, 1440, start, 1.0 / 1440);
    Render(f.chart);
    const ChartAxis& b = f.chart.BottomAxis();
    EXPECT_DOUBLE_EQ(b.Scale().step, 0.25);
    EXPECT_EQ(Texts(b), (QStringList{"2024-03-06\r06:00", "2024-03-06\r00:00", "2024-03-05\r18:00",
                                     "2024-03-05\r12:00"}));
    for (const AxisLabel& l : b.Scale().labels)
        EXPECT_EQ(l.position, b.ValueToPosition(l.value));
    // Ticks and grid lines follow the labels.
    EXPECT_EQ(b.Scale().ticks.size(), 4u);
    EXPECT_GE(b.Scale().minorTicks.size(), 3u * 3);
    for (const int p : b.Scale().minorTicks) {
        EXPECT_GT(p, b.Scale().placement.start);
        EXPECT_LT(p, b.Scale().placement.end);
    }
}

TEST(ChartRender, HalfMonthAndMonthStepsLabelTheFirstAndFifteenth) {
    for (const int days : {110, 220}) {
        Fixture f;
        FillLogger(f.chart, days * 4, Day(2024, 1, 10, 8), 0.25);
        Render(f.chart);
        const ChartAxis& b = f.chart.BottomAxis();
        EXPECT_DOUBLE_EQ(b.Scale().step, days == 110 ? 15 : 30);
        EXPECT_EQ(b.Scale().stepIndex, days == 110 ? 18 : 19);
        ASSERT_GE(b.Scale().labels.size(), 4u);
        for (const QString& text : Texts(b)) {
            const QStringList lines = LabelLines(text);
            ASSERT_EQ(lines.size(), 2);
            EXPECT_EQ(lines[1], "00:00");
            const bool half = lines[0].endsWith("-01") || lines[0].endsWith("-15");
            EXPECT_TRUE(days == 110 ? half : lines[0].endsWith("-01")) << lines[0].toStdString();
        }
    }
}

TEST(ChartRender, HumidityFromFortyOnePointTwoIsLabelledWithWholeNumbers) {
    Fixture f;
    f.chart.Series(0).SetActive(false);
    for (int i = 0; i <= 36; ++i)
        f.chart.Series(1).AddXY(45000 + i / 144.0, 41.2 + i * 0.1);
    Render(f.chart);
    const ChartAxis& l = f.chart.LeftAxis();
    EXPECT_DOUBLE_EQ(l.Minimum(), 41.2);
    EXPECT_NEAR(l.Maximum(), 44.8, 1e-9);
    EXPECT_DOUBLE_EQ(l.Scale().step, 1);
    EXPECT_EQ(Texts(l), (QStringList{"44", "43", "42"}));
}

TEST(ChartRender, HiddenSeriesLeaveTheRangeTheLegendAndTheLabels) {
    Fixture f;
    FillLogger(f.chart, 300, Day(2024, 3, 5), 1.0 / 144);
    f.chart.Series(1).SetActive(false);
    Render(f.chart);
    EXPECT_EQ(f.chart.LeftAxis().Minimum(), f.chart.Series(0).YValues().MinValue());
    EXPECT_EQ(f.chart.LeftAxis().Maximum(), f.chart.Series(0).YValues().MaxValue());

    f.chart.Series(0).SetActive(false);
    const QImage image = Render(f.chart);
    // The range comes from all series, but no axis draws labels, ticks or grid.
    EXPECT_EQ(f.chart.LeftAxis().Minimum(), f.chart.Series(0).YValues().MinValue());
    EXPECT_EQ(f.chart.LeftAxis().Maximum(), f.chart.Series(1).YValues().MaxValue());
    for (const ChartAxis* a : {&f.chart.BottomAxis(), &f.chart.LeftAxis()}) {
        EXPECT_TRUE(a->Scale().labels.empty());
        EXPECT_TRUE(a->Scale().ticks.empty());
        EXPECT_TRUE(a->Scale().gridLines.empty());
    }
    // No legend; the bottom axis still takes its 30 pixels of labels.
    EXPECT_FALSE(f.chart.LastLayout().legend.drawn);
    const PlotRect& plot = f.chart.LastLayout().plot;
    EXPECT_EQ(plot.bottom, 449 - 9 - 33);
    EXPECT_EQ(CountColour(image, qRgb(255, 0, 0), image.rect()), 0);
    EXPECT_EQ(CountColour(image, qRgb(0, 128, 0), image.rect()), 0);
    // Only the axis lines remain.
    const AxisPlacement& b = f.chart.BottomAxis().Scale().placement;
    EXPECT_TRUE(IsBlack(image, (b.start + b.end) / 2, plot.bottom - 1));
    EXPECT_EQ(CountColour(image, qRgb(128, 128, 128), image.rect()), 0);
}

TEST(ChartRender, LegendListsActiveSeriesAndStaysCentred) {
    Fixture f;
    FillLogger(f.chart, 300, Day(2024, 3, 5), 1.0 / 144);
    QImage image = Render(f.chart);
    const LegendGeometry both = f.chart.LastLayout().legend;
    ASSERT_TRUE(both.drawn);
    EXPECT_EQ(both.columns, 2);
    const PlotRect& fb = both.frameBox;
    EXPECT_TRUE(IsBlack(image, fb.left, fb.top + 3));
    EXPECT_TRUE(IsBlack(image, fb.right - 1, fb.top + 3));
    EXPECT_TRUE(IsBlack(image, fb.right + 1, fb.top + 5)); // shadow
    EXPECT_EQ(image.pixel(both.symbols[0].p1()), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(both.symbols[1].p2()), qRgb(0, 128, 0));

    f.chart.Series(0).SetActive(false);
    image = Render(f.chart);
    const LegendGeometry one = f.chart.LastLayout().legend;
    ASSERT_TRUE(one.drawn);
    EXPECT_EQ(one.columns, 1);
    ASSERT_EQ(one.textAt.size(), 1u);
    EXPECT_EQ(one.textAt[0], QPoint(one.box.left + one.symbolLength + 8, one.box.top + 1));
    EXPECT_EQ(image.pixel(one.symbols[0].p1()), qRgb(0, 128, 0));
    EXPECT_LT(one.box.Width(), both.box.Width());
    // Centred on the plot as it was when the legend took its place.
    EXPECT_LE(std::abs((one.box.left + one.box.right) - (13 + 652)), 2);
    EXPECT_EQ(CountColour(image, qRgb(255, 0, 0), image.rect()), 0);
}

TEST(ChartRender, AfterARangeChangeTheLineEntersFromTheLeftEdgeAtTheInterpolatedHeight) {
    Fixture f;
    f.chart.Series(1).SetActive(false);
    LineSeries& s = f.chart.Series(0);
    for (int i = 0; i < 10; ++i)
        s.AddXY(45000 + i, i % 2 ? 30 : 10, {}, Red);
    Render(f.chart);
    f.chart.BottomAxis().AssignRange(45002.3, 45006);
    f.chart.LeftAxis().AssignRange(0, 40);
    const QImage image = Render(f.chart);
    const PlotRect& plot = f.chart.LastLayout().plot;
    const double xEdge = f.chart.BottomAxis().PositionToValue(plot.left);
    ASSERT_GT(xEdge, 45002);
    ASSERT_LT(xEdge, 45003);
    const double yEdge = 10 + (30 - 10) * (xEdge - 45002); // from (2, 10) to (3, 30)
    const int y = f.chart.LeftAxis().ValueToPosition(yEdge);
    EXPECT_EQ(image.pixel(plot.left, y), qRgb(255, 0, 0));
    // Clipped to the plot: nothing red left of it or right of it.
    EXPECT_EQ(CountColour(image, qRgb(255, 0, 0), QRect(0, 0, plot.left, 449)), 0);
    EXPECT_EQ(CountColour(image, qRgb(255, 0, 0), QRect(plot.right, 0, 665, 449)), 0);
    EXPECT_GT(CountColour(image, qRgb(255, 0, 0), plot.ToQRect()), 100);
}

TEST(ChartRender, LaterSeriesAreDrawnOverEarlierOnesAndEqualXJoinVertically) {
    Fixture f;
    f.chart.Series(0).AddXY(45000, 0, {}, Red);
    f.chart.Series(0).AddXY(45001, 10, {}, Red);
    f.chart.Series(1).AddXY(45000, 10, {}, Green);
    f.chart.Series(1).AddXY(45001, 0, {}, Green);
    f.chart.Series(1).AddXY(45001, 5, {}, Green);
    const QImage image = Render(f.chart);
    const int cx = f.chart.BottomAxis().ValueToPosition(45000.5);
    const int cy = f.chart.LeftAxis().ValueToPosition(5);
    EXPECT_EQ(image.pixel(cx, cy), qRgb(0, 128, 0));
    const int x1 = f.chart.BottomAxis().ValueToPosition(45001);
    for (double v : {0.0, 2.5, 5.0})
        EXPECT_EQ(image.pixel(x1, f.chart.LeftAxis().ValueToPosition(v)), qRgb(0, 128, 0));
}

TEST(ChartRender, PrintingLeavesOutTheBevelAndDrawsWhiteLabelsBlack) {
    Fixture f;
    FillLogger(f.chart, 100, Day(2024, 3, 5), 1.0 / 144);
    ChartFont white;
    white.color = White;
    f.chart.LeftAxis().SetLabelsFont(white);
    QImage screen = Render(f.chart);
    QImage paper(665, 449, QImage::Format_RGB32);
    {
        QPainter p(&paper);
        f.chart.Paint(p, paper.rect(), true);
    }
    EXPECT_EQ(screen.pixel(0, 0), qRgb(255, 255, 255)); // raised bevel
    EXPECT_EQ(paper.pixel(0, 0), qRgb(240, 240, 240));
    const PlotRect& plot = f.chart.LastLayout().plot;
    const QRect labels(13, plot.top, plot.left - 13 - 5, plot.Height());
    EXPECT_EQ(DarkPixels(screen, labels), 0);
    EXPECT_GT(DarkPixels(paper, labels), 50);
    // Thin dotted pens are cosmetic on paper, solid ones keep their width.
    EXPECT_EQ(ToQPen({Grey, 1, PenStyle::Dot, true}, Grey, true).width(), 0);
    EXPECT_EQ(ToQPen({Grey, 1, PenStyle::Dot, true}, Grey, false).width(), 1);
    EXPECT_EQ(ToQPen({Grey, 1, PenStyle::Solid, true}, Grey, true).width(), 1);
    EXPECT_EQ(ToQPen({Grey, 2, PenStyle::Dot, true}, Grey, true).width(), 2);
}

TEST(ChartRender, ZoomRectangleIsDrawnLastInNotXor) {
    Fixture f;
    FillLogger(f.chart, 100, Day(2024, 3, 5), 1.0 / 144);
    int asks = 0;
    f.chart.SetChangeCallback([&] { ++asks; });
    const QImage before = Render(f.chart);
    f.chart.SetZoomRectangle(ZoomDrag{QPoint(300, 250), QPoint(100, 150)});
    EXPECT_EQ(asks, 1);
    const QImage with = Render(f.chart);
    // Not-xor of the background colour over the background gives white.
    EXPECT_EQ(before.pixel(200, 150), qRgb(240, 240, 240));
    EXPECT_EQ(with.pixel(200, 150), qRgb(255, 255, 255));
    EXPECT_EQ(with.pixel(100, 200), qRgb(255, 255, 255));
    EXPECT_EQ(with.pixel(300, 250), qRgb(255, 255, 255));
    EXPECT_EQ(with.pixel(200, 200), before.pixel(200, 200));
    f.chart.SetZoomRectangle(std::nullopt);
    EXPECT_EQ(Render(f.chart), before);
}

// Beyond a year the labels step by 2, 5, 10, 20 ... years, on years that divide by the step,
// and never overlap; up to a year nothing changes. A line in year 9999 among samples of 2024
// used to label every year into one black bar.
TEST(ChartRender, LongRangesStepByWholeYearsWithoutOverlap) {
    const struct {
        double first, last;
        QStringList texts; // the dates of the labels, from the right
    } cases[] = {
        {Day(2024, 1, 10),
         Day(2024, 12, 20),
         {"2024-12-01", "2024-10-01", "2024-08-01", "2024-06-01", "2024-04-01", "2024-02-01"}},
        {Day(2021, 6, 1),
         Day(2024, 6, 1),
         {"2024-06-01", "2024-02-01", "2023-10-01", "2023-06-01", "2023-02-01", "2022-10-01",
          "2022-06-01", "2022-02-01", "2021-10-01", "2021-06-01"}},
        {Day(2010, 3, 5),
         Day(2024, 3, 5),
         {"2024-01-01", "2022-01-01", "2020-01-01", "2018-01-01", "2016-01-01", "2014-01-01",
          "2012-01-01"}},
        {Day(1950, 1, 1),
         Day(2024, 3, 5),
         {"2020-01-01", "2010-01-01", "2000-01-01", "1990-01-01", "1980-01-01", "1970-01-01",
          "1960-01-01", "1950-01-01"}},
        {Day(2024, 3, 5),
         Day(9999, 12, 31, 23, 59),
         {"9000-01-01", "8000-01-01", "7000-01-01", "6000-01-01", "5000-01-01", "4000-01-01",
          "3000-01-01"}},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.chart.Series(0).AddXY(c.first, 20);
        f.chart.Series(0).AddXY(c.last, 21);
        Render(f.chart);
        const ChartAxis& b = f.chart.BottomAxis();
        QStringList dates;
        for (const QString& text : Texts(b))
            dates << LabelLines(text).front();
        EXPECT_EQ(dates, c.texts) << dates.join(' ').toStdString();
        const QFontMetrics fm(ToQFont(b.LabelsFont()));
        const auto& labels = b.Scale().labels;
        for (std::size_t i = 1; i < labels.size(); ++i)
            EXPECT_GT(labels[i - 1].position - labels[i].position,
                      fm.horizontalAdvance(LabelLines(labels[i].text).front()));
    }
}
