// Axis properties: defaults, validation, the automatic flags, AssignRange, and that only real
// changes ask the chart for a repaint.

#include "chart/Chart.h"
#include "platform/Errors.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::chart;

TEST(ChartAxis, DefaultsOfTheEngine) {
    Chart c;
    const ChartAxis& a = c.BottomAxis();
    EXPECT_TRUE(a.Automatic() && a.AutomaticMinimum() && a.AutomaticMaximum());
    EXPECT_EQ(a.Minimum(), 0);
    EXPECT_EQ(a.Maximum(), 0);
    EXPECT_EQ(a.Increment(), 0);
    EXPECT_TRUE(a.DateTimeFormat().isEmpty());
    EXPECT_EQ(a.AxisValuesFormat(), "#,##0.###");
    EXPECT_TRUE(a.ExactDateTime() && a.RoundFirstLabel() && a.LabelsOnAxis() && a.Labels());
    EXPECT_FALSE(a.LabelsMultiLine() || a.GridCentered() || a.Inverted() || a.Logarithmic());
    EXPECT_EQ(a.LabelsSize(), 0);
    EXPECT_EQ(a.LabelsSeparation(), 10);
    EXPECT_EQ(a.LabelsAngle(), 0);
    EXPECT_EQ(a.LabelsFont().name, "Arial");
    EXPECT_EQ(a.LabelsFont().size, 8);
    EXPECT_EQ(a.LabelsFont().color, Black);
    EXPECT_EQ(a.LabelStyle(), LabelStyle::Auto);
    EXPECT_EQ(a.StartPosition(), 0);
    EXPECT_EQ(a.EndPosition(), 100);
    EXPECT_EQ(a.TickLength(), 4);
    EXPECT_EQ(a.TickInnerLength(), 0);
    EXPECT_EQ(a.MinorTickLength(), 2);
    EXPECT_EQ(a.MinorTickCount(), 3);
    EXPECT_TRUE(a.TickOnLabelsOnly());
    EXPECT_EQ(a.Grid().style, PenStyle::Dot);
    EXPECT_EQ(a.Grid().color, Rgb(128, 128, 128));
    EXPECT_FALSE(a.MinorGrid().visible);
    EXPECT_EQ(a.Axis().width, 2);
    EXPECT_EQ(a.Ticks().color, Rgb(128, 128, 128));
    EXPECT_TRUE(a.Visible());
    EXPECT_TRUE(c.BottomAxis().Horizontal() && c.TopAxis().Horizontal());
    EXPECT_FALSE(c.LeftAxis().Horizontal() || c.RightAxis().Horizontal());
    EXPECT_EQ(c.LeftAxis().Title().angle, 90);
    EXPECT_EQ(c.RightAxis().Title().angle, 270);
}

TEST(ChartAxis, InvalidValuesRaiseTheAxisErrorAndKeepTheOldValue) {
    Chart c;
    ChartAxis& a = c.LeftAxis();
    a.SetMaximum(10);
    a.SetMinimum(5);
    try {
        a.SetMinimum(11);
        FAIL() << "no error";
    } catch (const ChartError& e) {
        EXPECT_STREQ(e.what(), "Axis Minimum Value must be <= Maximum");
    }
    EXPECT_EQ(a.Minimum(), 5);
    try {
        a.SetMaximum(4);
        FAIL() << "no error";
    } catch (const ChartError& e) {
        EXPECT_STREQ(e.what(), "Axis Maximum Value must be >= Minimum");
    }
    EXPECT_EQ(a.Maximum(), 10);
    try {
        a.SetIncrement(-1);
        FAIL() << "no error";
    } catch (const ChartError& e) {
        EXPECT_STREQ(e.what(), "Axis increment must be >= 0");
    }
    EXPECT_EQ(a.Increment(), 0);
    a.SetMinimum(10); // equal is allowed
    EXPECT_EQ(a.Minimum(), 10);
    // While the chart is being loaded the ends may pass each other.
    c.SetLoading(true);
    a.SetMinimum(50);
    EXPECT_EQ(a.Minimum(), 50);
    c.SetLoading(false);
    EXPECT_THROW(a.SetIncrement(-0.5), ChartError);
}

TEST(ChartAxis, AutomaticFlagsFollowEachOther) {
    Chart c;
    ChartAxis& a = c.BottomAxis();
    a.SetAutomaticMinimum(false);
    EXPECT_FALSE(a.Automatic());
    EXPECT_TRUE(a.AutomaticMaximum());
    a.SetAutomaticMaximum(false);
    a.SetAutomaticMinimum(true);
    EXPECT_FALSE(a.Automatic()); // the other end is still manual
    a.SetAutomaticMaximum(true);
    EXPECT_TRUE(a.Automatic());
    a.SetAutomatic(false);
    EXPECT_FALSE(a.AutomaticMinimum() || a.AutomaticMaximum());
    a.SetAutomatic(true);
    EXPECT_TRUE(a.AutomaticMinimum() && a.AutomaticMaximum());
}

TEST(ChartAxis, AssignRangeIsManualOrderedAndNeverEmpty) {
    Chart c;
    ChartAxis& a = c.BottomAxis();
    a.AssignRange(8, 3);
    EXPECT_FALSE(a.Automatic() || a.AutomaticMinimum() || a.AutomaticMaximum());
    EXPECT_EQ(a.Minimum(), 3);
    EXPECT_EQ(a.Maximum(), 8);
    a.AssignRange(5, 5);
    EXPECT_EQ(a.Minimum(), 5);
    EXPECT_DOUBLE_EQ(a.Maximum(), 5 + 1e-10);
}

TEST(ChartAxis, OnlyRealChangesAskForARepaintAndOneAskIsEnoughUntilThePaint) {
    Chart c;
    int asks = 0;
    c.SetChangeCallback([&] { ++asks; });
    ChartAxis& a = c.BottomAxis();
    a.SetTickLength(4);
    a.SetAutomatic(true);
    a.SetGrid(a.Grid());
    EXPECT_EQ(asks, 0);
    a.SetTickLength(1);
    EXPECT_EQ(asks, 1);
    a.SetLabelsSize(30); // a repaint is already due
    EXPECT_EQ(asks, 1);
    QImage image(200, 100, QImage::Format_RGB32);
    {
        QPainter p(&image);
        c.Paint(p, image.rect()); // painting itself asks for nothing
    }
    EXPECT_EQ(asks, 1);
    a.AssignRange(1, 2);
    EXPECT_EQ(asks, 2);
}

TEST(ChartAxis, PixelMappingUsesTheLastPaintAndTheCurrentRange) {
    Chart c;
    c.AddSeries().AddXY(0, 0);
    c.Series(0).AddXY(10, 5);
    QImage image(665, 449, QImage::Format_RGB32);
    {
        QPainter p(&image);
        c.Paint(p, image.rect());
    }
    const ChartAxis& b = c.BottomAxis();
    const AxisPlacement& at = b.Scale().placement;
    EXPECT_EQ(b.ValueToPosition(0), at.start);
    EXPECT_EQ(b.ValueToPosition(10), at.end);
    EXPECT_NEAR(b.PositionToValue(at.end), 10, 1e-12);
    c.BottomAxis().AssignRange(0, 20);
    EXPECT_EQ(b.ValueToPosition(20), at.end);
    EXPECT_EQ(c.LeftAxis().ValueToPosition(5), c.LeftAxis().Scale().placement.start);
}

// Position properties far outside 0..100 move an axis far off the plot: its ends and lines stop
// at the pixel limit, where the painter can still add its lengths and widths.
TEST(ChartAxis, FarOffPositionPropertiesStopAtThePixelLimit) {
    struct Case {
        double startPercent, endPercent, positionPercent;
        bool startIsFar; // else the end is
        int farEnd, axisPosition;
    };
    const Case cases[] = {{0, 1e300, -1e300, false, PixelLimit, PixelLimit},
                          {-1e300, 100, 1e300, true, -PixelLimit, -PixelLimit}};
    for (const Case& k : cases) {
        Chart c;
        c.AddSeries().AddXY(0, 0);
        c.Series(0).AddXY(10, 5);
        ChartAxis& b = c.BottomAxis();
        b.SetStartPosition(k.startPercent);
        b.SetEndPosition(k.endPercent);
        b.SetPositionPercent(k.positionPercent);
        QImage image(300, 200, QImage::Format_RGB32);
        {
            QPainter p(&image);
            c.Paint(p, image.rect());
        }
        const AxisScale& s = b.Scale();
        EXPECT_EQ(k.startIsFar ? s.placement.start : s.placement.end, k.farEnd);
        EXPECT_EQ(s.axisPosition, k.axisPosition) << k.positionPercent;
    }
}
