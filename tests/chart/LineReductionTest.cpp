// The reduced line drawing (one vertical span per pixel column plus the joining segments)
// must light exactly the pixels that drawing every segment by the rules lights. Each case
// paints the same chart both ways and compares the images pixel for pixel.

#include "chart/SeriesPainter.h"
#include "tests/chart/LoggerChartSetup.h"

#include <gtest/gtest.h>
#include <random>

using namespace velkor::chart;
using namespace velkor::chart::testing;

namespace {

int DifferentPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

QImage RenderWith(Chart& c, LineDrawing mode) {
    c.SetLineDrawingMode(mode);
    return Render(c);
}

// Paints the chart both ways; returns the number of pixels that differ.
int Compare(Chart& c) {
    const QImage reduced = RenderWith(c, LineDrawing::Reduced);
    const QImage every = RenderWith(c, LineDrawing::EverySegment);
    return DifferentPixels(reduced, every);
}

// The series' pixels alone: red or green anywhere in the image.
int LinePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            n += p == qRgb(255, 0, 0) || p == qRgb(0, 128, 0);
        }
    return n;
}

void FillRandom(Chart& c, int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> y(0, 100);
    std::uniform_int_distribution<int> gap(0, 4);
    double x = 45000;
    for (int i = 0; i < n; ++i) {
        x += gap(rng) / 86400.0; // a fifth of the steps repeat the X value
        c.Series(0).AddXY(x, y(rng), {}, Red);
        c.Series(1).AddXY(x, y(rng) * 0.5 + 25, {}, Green);
    }
}

} // namespace

TEST(LineReduction, RandomDataFullViewAndRandomZooms) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        Chart c;
        ConfigureLoggerChart(c);
        FillRandom(c, 60000, seed);
        EXPECT_EQ(Compare(c), 0) << "full view, seed " << seed;
        std::mt19937 rng(seed * 77);
        const double first = c.Series(0).XValue(0);
        const double last = c.Series(0).XValue(c.Series(0).Count() - 1);
        std::uniform_real_distribution<double> u(0, 1);
        for (int k = 0; k < 6; ++k) {
            const double width = (last - first) * std::pow(10.0, -4 * u(rng));
            const double from = first - width * 0.2 + (last - first) * u(rng);
            c.BottomAxis().AssignRange(from, from + width);
            const double low = 100 * u(rng) - 20;
            c.LeftAxis().AssignRange(low, low + 5 + 100 * u(rng));
            const int before = LinePixels(RenderWith(c, LineDrawing::EverySegment));
            EXPECT_EQ(Compare(c), 0) << "zoom " << k << ", seed " << seed;
            if (k == 0) {
                EXPECT_GT(before, 0) << "the zoom shows some line";
            }
        }
    }
}

TEST(LineReduction, SmoothLoggerDataFullViewAndZoomedToATenthAndAHundredth) {
    Chart c;
    ConfigureLoggerChart(c);
    const double start = Day(2024, 1, 1);
    FillLogger(c, 200000, start, 1.0 / 86400);
    EXPECT_EQ(Compare(c), 0);
    const double span = 200000.0 / 86400;
    for (const double part : {0.1, 0.01, 0.001, 0.0001}) {
        const double from = start + span * 0.37 + 0.3 / 86400; // between two samples
        c.BottomAxis().AssignRange(from, from + span * part);
        EXPECT_EQ(Compare(c), 0) << "tenth^" << part;
        c.LeftAxis().AssignRange(20.2, 21.9);
        EXPECT_EQ(Compare(c), 0) << "tenth^" << part << " with a value zoom";
        c.LeftAxis().SetAutomatic(true);
    }
}

TEST(LineReduction, DeepValueZoomWithFarOffPointsSkipped) {
    Chart c;
    ConfigureLoggerChart(c);
    const double start = Day(2024, 1, 1);
    FillLogger(c, 20000, start, 60.0 / 86400);
    // A value range so narrow that most points lie far beyond 32766 pixels.
    c.LeftAxis().AssignRange(21.0, 21.0 + 1e-4);
    EXPECT_EQ(Compare(c), 0);
    c.BottomAxis().AssignRange(start + 1.0, start + 1.0 + 1e-7);
    c.LeftAxis().SetAutomatic(true);
    EXPECT_EQ(Compare(c), 0);
}

TEST(LineReduction, PointsAddedInReverseOrderAndInvertedAxes) {
    Chart c;
    ConfigureLoggerChart(c);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> y(10, 30);
    for (int i = 30000; i > 0; --i)
        c.Series(0).AddXY(45000 + i / 8640.0, y(rng));
    c.Series(1).SetActive(false);
    EXPECT_EQ(Compare(c), 0);
    c.BottomAxis().SetInverted(true);
    c.LeftAxis().SetInverted(true);
    EXPECT_EQ(Compare(c), 0);
    c.BottomAxis().AssignRange(45001.2345, 45001.9);
    EXPECT_EQ(Compare(c), 0);
}

TEST(LineReduction, MixedPointColoursAreDrawnSegmentBySegmentInOrder) {
    Chart c;
    ConfigureLoggerChart(c);
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> y(10, 30);
    for (int i = 0; i < 5000; ++i)
        c.Series(0).AddXY(45000 + i / 1440.0, y(rng), {}, i % 3 ? Red : Blue);
    EXPECT_EQ(Compare(c), 0);
    const QImage image = RenderWith(c, LineDrawing::Reduced);
    int blue = 0;
    for (int yy = 0; yy < image.height(); ++yy)
        for (int x = 0; x < image.width(); ++x)
            blue += image.pixel(x, yy) == qRgb(0, 0, 255);
    EXPECT_GT(blue, 100);
}

// The series drawing alone, on a plain image, with many placements of the axes.
TEST(LineReduction, SeriesAloneOverManyPlacements) {
    LineSeries s;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> y(-50, 50);
    double x = 0;
    for (int i = 0; i < 20000; ++i) {
        x += (i % 5 == 0) ? 0 : 0.001 * (1 + i % 3);
        s.AddXY(x, y(rng) * std::sin(i * 0.001));
    }
    std::uniform_real_distribution<double> u(0, 1);
    for (int k = 0; k < 40; ++k) {
        SeriesView v;
        v.plot = {10 + k % 7, 5 + k % 5, 190 - k % 3, 120 - k % 4};
        const double from = x * u(rng) - 2, width = x * std::pow(10.0, -3 * u(rng));
        v.x = PlaceAxis(true, k % 9 == 0, from, from + width, v.plot.left, v.plot.Width(), 2, 98);
        v.y = PlaceAxis(false, false, -60 * u(rng), 60 * u(rng) + 1e-3, v.plot.top, v.plot.Height(),
                        10, 90);
        QImage a(200, 130, QImage::Format_RGB32), b(200, 130, QImage::Format_RGB32);
        a.fill(Qt::white);
        b.fill(Qt::white);
        {
            QPainter p(&a);
            DrawLineSeries(p, s, v, LineDrawing::Reduced);
        }
        {
            QPainter p(&b);
            DrawLineSeries(p, s, v, LineDrawing::EverySegment);
        }
        ASSERT_EQ(DifferentPixels(a, b), 0) << "placement " << k;
    }
}
