// The axis maths: rounding, label steps, label values, placement, tick positions.

#include "chart/AxisScale.h"
#include "chart/AxisSteps.h"
#include "chart/LabelValues.h"
#include "chart/Rounding.h"
#include "platform/DateTime.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::chart;

namespace {

double Date(int y, int m, int d, int h = 0, int n = 0) {
    double v = 0;
    EXPECT_TRUE(TryEncodeDateTime(y, m, d, h, n, 0, 0, v));
    return v;
}

constexpr double Second = 1.0 / 86400;

} // namespace

TEST(Rounding, HalvesGoToTheEvenNeighbourAndTruncDropsTheFraction) {
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-1.5), -2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(3.7), 4);
    EXPECT_EQ(Round(1e300), 1e300);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_EQ(RoundToInt(1e20), INT_MAX);
    EXPECT_EQ(MulDiv(665, 2, 100), 13);
    EXPECT_EQ(MulDiv(449, 2, 100), 9);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
}

TEST(AxisSteps, Next125ClimbsOneTwoFiveAndAlwaysGrows) {
    EXPECT_DOUBLE_EQ(Next125(1), 2);
    EXPECT_DOUBLE_EQ(Next125(2), 5);
    EXPECT_DOUBLE_EQ(Next125(5), 10);
    EXPECT_DOUBLE_EQ(Next125(10), 20);
    EXPECT_DOUBLE_EQ(Next125(1.3), 2);
    EXPECT_DOUBLE_EQ(Next125(0.5), 1);
    EXPECT_DOUBLE_EQ(Next125(0.2), 0.5);
    double x = 1e-12;
    for (int i = 0; i < 80; ++i) {
        const double next = Next125(x);
        ASSERT_GT(next, x) << "at " << x;
        ASSERT_LE(next, x * 2.5 + 1e-300) << "at " << x;
        x = next;
    }
}

TEST(AxisSteps, LabelsThatFitAddTheSeparationAndRoundHalvesToEven) {
    EXPECT_EQ(LabelsThatFit(264, 13, 10), 19); // 13 + Round(1.3) = 14; 264 / 14 = 18.86
    EXPECT_EQ(LabelsThatFit(30, 4, 0), 8);     // 7.5
    EXPECT_EQ(LabelsThatFit(26, 4, 0), 6);     // 6.5
    EXPECT_EQ(LabelsThatFit(500, 0, 10), 1);   // size unknown
    EXPECT_EQ(LabelsThatFit(0, 60, 10), 0);
}

TEST(AxisSteps, DateTimeStepIsTheSmallestTableEntryThatFits) {
    const double day = 1439.0 / 1440; // 1440 one-minute samples
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(day, Second, 8), 0.25);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(day, Second, 12), 2.0 / 24);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(day, Second, 24), 1.0 / 24);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(day, Second, 0), Second);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, Second, 8), Second);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(100, Second, 8), 15);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(200, Second, 8), 30);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(1000, Second, 8), 120);
    // Beyond a year: 2, 5, 10, 20 ... years.
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(10000, Second, 5), 5 * 365);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(10000, Second, 2), 20 * 365);
    // An increment above the table still counts as the lower bound.
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(day, 1.0, 8), 1.0);
}

TEST(AxisSteps, HugeAndEndlessRangesEndTheStepSearch) {
    const double big = DateTimeLabelStep(1e12, Second, 8);
    EXPECT_GE(big, 1e12 / 8 / 2);
    EXPECT_TRUE(std::isfinite(big));
    DateTimeLabelStep(INFINITY, Second, 8); // returns at all
    EXPECT_GT(NumberLabelStep(1e300, 0, 8, 10), 1e298);
    NumberLabelStep(INFINITY, 0, 8, 10);
    NumberLabelStep(NAN, 0, 8, 10);
}

TEST(AxisSteps, NumberStepStartsAtOneOrTinyAndClimbsOneTwoFive) {
    EXPECT_DOUBLE_EQ(NumberLabelStep(3.6, 0, 19, 10), 1);
    EXPECT_DOUBLE_EQ(NumberLabelStep(3.6, 0, 2, 10), 2);
    EXPECT_NEAR(NumberLabelStep(0.36, 0, 19, 10), 0.02, 1e-15);
    EXPECT_DOUBLE_EQ(NumberLabelStep(100, 0, 8, 10), 20);
    EXPECT_DOUBLE_EQ(NumberLabelStep(0, 0, 8, 10), 1e-12);
    EXPECT_DOUBLE_EQ(NumberLabelStep(3.6, 0, 0, 10), 1e-12);
    EXPECT_DOUBLE_EQ(NumberLabelStep(3.6, 0.3, 19, 10), 0.3);
    // Without separation the step is not widened.
    EXPECT_DOUBLE_EQ(NumberLabelStep(100, 0, 8, 0), 1);
}

TEST(AxisSteps, StepIndexStartsAtTheIncrementAndRisesToTheStep) {
    EXPECT_EQ(DateTimeStepIndex(true, true, Second, 0.25), 12);
    EXPECT_EQ(DateTimeStepIndex(true, true, Second, 15), 18);
    EXPECT_EQ(DateTimeStepIndex(true, true, Second, 30), 19);
    EXPECT_EQ(DateTimeStepIndex(true, true, Second, 2920), 24);
    EXPECT_EQ(DateTimeStepIndex(true, true, 1.0, 30), 19);
    EXPECT_EQ(DateTimeStepIndex(true, true, 1.1574074074074e-05, Second), 0);
    EXPECT_EQ(DateTimeStepIndex(false, true, Second, 0.25), NoDateTimeStep);
    EXPECT_EQ(DateTimeStepIndex(true, false, Second, 0.25), NoDateTimeStep);
    EXPECT_EQ(DateTimeStepIndex(true, true, 0, 0.25), NoDateTimeStep);
    EXPECT_EQ(DateTimeStepIndex(true, true, 0.4, 0.5), NoDateTimeStep);
}

TEST(LabelValues, CalendarRoundingMovesToTheDayHalfMonthMonthOrYear) {
    const double x = Date(2024, 3, 5, 14, 30);
    EXPECT_DOUBLE_EQ(CalendarRound(x, 14), Date(2024, 3, 5));
    EXPECT_DOUBLE_EQ(CalendarRound(x, 17), Date(2024, 3, 5));
    EXPECT_DOUBLE_EQ(CalendarRound(x, 18), Date(2024, 3, 1));
    EXPECT_DOUBLE_EQ(CalendarRound(Date(2024, 3, 20, 1), 18), Date(2024, 3, 15));
    EXPECT_DOUBLE_EQ(CalendarRound(x, 19), Date(2024, 3, 1));
    EXPECT_DOUBLE_EQ(CalendarRound(x, 23), Date(2024, 3, 1));
    EXPECT_DOUBLE_EQ(CalendarRound(x, 24), Date(2024, 1, 1));
    EXPECT_DOUBLE_EQ(CalendarRound(1.5, 24), 1.5); // not after 1900-01-01
    EXPECT_DOUBLE_EQ(CalendarRound(2.0, 24), 2.0);
}

TEST(LabelValues, CalendarStepsFollowTheMonthsAndYears) {
    auto down = [](double v, int i) { return StepDown(v, 0, i, true); };
    EXPECT_DOUBLE_EQ(down(Date(2024, 3, 20, 5), 18), Date(2024, 3, 15));
    EXPECT_DOUBLE_EQ(down(Date(2024, 3, 15), 18), Date(2024, 3, 1));
    EXPECT_DOUBLE_EQ(down(Date(2024, 3, 2), 18), Date(2024, 3, 1));
    EXPECT_DOUBLE_EQ(down(Date(2024, 1, 1), 18), Date(2023, 12, 15));
    EXPECT_DOUBLE_EQ(down(Date(2024, 1, 1), 19), Date(2023, 12, 1));
    EXPECT_DOUBLE_EQ(down(Date(2024, 5, 1), 20), Date(2024, 3, 1));
    EXPECT_DOUBLE_EQ(down(Date(2024, 2, 1), 21), Date(2023, 11, 1));
    EXPECT_DOUBLE_EQ(down(Date(2024, 4, 1), 22), Date(2023, 12, 1));
    EXPECT_DOUBLE_EQ(down(Date(2024, 6, 1), 23), Date(2023, 12, 1));
    EXPECT_DOUBLE_EQ(down(Date(2024, 7, 1), 23), Date(2024, 1, 1));
    EXPECT_DOUBLE_EQ(down(Date(2023, 3, 1), 24), Date(2022, 3, 1));
    // 29 February has no counterpart a year before: the last day of February.
    EXPECT_DOUBLE_EQ(down(Date(2024, 2, 29), 24), Date(2023, 2, 28));
    // Shorter steps and plain axes subtract the step.
    EXPECT_DOUBLE_EQ(StepDown(10, 0.25, 12, true), 9.75);
    EXPECT_DOUBLE_EQ(StepDown(10, 15, 18, false), -5);
}

TEST(LabelValues, OneDayOfMinutesIsLabelledEverySixHoursFromTheLastWholeMultiple) {
    LabelValueInput in;
    in.minimum = Date(2024, 3, 5, 10, 17);
    in.maximum = in.minimum + 1439.0 / 1440;
    in.step = 0.25;
    in.stepIndex = 12;
    in.dateTime = true;
    const std::vector<double> v = LabelValues(in);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], Date(2024, 3, 6, 6, 0), 1e-9);
    EXPECT_NEAR(v[1], Date(2024, 3, 6, 0, 0), 1e-9);
    EXPECT_NEAR(v[2], Date(2024, 3, 5, 18, 0), 1e-9);
    EXPECT_NEAR(v[3], Date(2024, 3, 5, 12, 0), 1e-9);
}

TEST(LabelValues, HalfMonthAndMonthStepsFallOnCalendarDays) {
    LabelValueInput in;
    in.minimum = Date(2024, 1, 10, 8);
    in.maximum = Date(2024, 4, 20, 17);
    in.step = 15;
    in.stepIndex = 18;
    in.dateTime = true;
    const std::vector<double> half = LabelValues(in);
    const std::vector<double> expectHalf = {Date(2024, 4, 15), Date(2024, 4, 1),  Date(2024, 3, 15),
                                            Date(2024, 3, 1),  Date(2024, 2, 15), Date(2024, 2, 1),
                                            Date(2024, 1, 15)};
    EXPECT_EQ(half, expectHalf);
    in.step = 30;
    in.stepIndex = 19;
    const std::vector<double> month = LabelValues(in);
    const std::vector<double> expectMonth = {Date(2024, 4, 1), Date(2024, 3, 1), Date(2024, 2, 1)};
    EXPECT_EQ(month, expectMonth);
    // Without ExactDateTime the same step counts days from the rounded maximum.
    in.exactDateTime = false;
    EXPECT_NEAR(LabelValues(in).front(), std::trunc(in.maximum / 30) * 30, 1e-9);
}

TEST(LabelValues, DayStepsStartAtMidnightOfTheLastDay) {
    LabelValueInput in;
    in.minimum = Date(2024, 3, 1, 12);
    in.maximum = Date(2024, 3, 5, 14, 30);
    in.step = 1;
    in.stepIndex = 14;
    in.dateTime = true;
    const std::vector<double> v = LabelValues(in);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_DOUBLE_EQ(v.front(), Date(2024, 3, 5));
    EXPECT_DOUBLE_EQ(v.back(), Date(2024, 3, 2));
}

TEST(LabelValues, BoundsAndDegenerateRanges) {
    LabelValueInput in;
    in.minimum = 10;
    in.maximum = 20;
    in.step = 5;
    EXPECT_EQ(LabelValues(in), (std::vector<double>{20, 15, 10})); // minimum itself drawn
    in.roundFirstLabel = false;
    in.maximum = 21;
    EXPECT_EQ(LabelValues(in), (std::vector<double>{21, 16, 11}));
    // A zero range gives its one value.
    in = LabelValueInput();
    in.step = 1e-12;
    EXPECT_EQ(LabelValues(in), (std::vector<double>{0}));
    // A value too large for the tiny step to move it, or one the widened lower bound would
    // let through many times: one label.
    in.minimum = in.maximum = 1e6;
    EXPECT_EQ(LabelValues(in), (std::vector<double>{1e6}));
    in.minimum = in.maximum = 21.5;
    EXPECT_EQ(LabelValues(in), (std::vector<double>{21.5}));
    // A tiny step from a large maximum that cannot move the value ends the labels.
    in.minimum = 1e6 - 1e-9;
    in.maximum = 1e6;
    in.roundFirstLabel = false;
    EXPECT_EQ(LabelValues(in).size(), 1u);
    // Too many steps, a reversed range or no step: no labels.
    in = LabelValueInput();
    in.maximum = 10000;
    in.step = 1;
    EXPECT_TRUE(LabelValues(in).empty());
    in.maximum = -1;
    EXPECT_TRUE(LabelValues(in).empty());
    in.maximum = 10;
    in.step = 0;
    EXPECT_TRUE(LabelValues(in).empty());
}

TEST(AxisPlacement, StretchPositionsAndRoundingOfTheMapping) {
    const AxisPlacement b = PlaceAxis(true, false, 0, 1, 13, 639, 2, 98);
    EXPECT_EQ(b.start, 13 + 13); // Round(12.78)
    EXPECT_EQ(b.end, 13 + 626);  // Round(626.22)
    EXPECT_EQ(b.size, 613);
    EXPECT_EQ(b.centre, (26 + 639) / 2);

    const AxisPlacement h = PlaceAxis(true, false, 0, 4, 0, 2, 0, 100);
    EXPECT_EQ(h.ValueToPosition(1), 0); // t = 0.5
    EXPECT_EQ(h.ValueToPosition(3), 2); // t = 1.5
    EXPECT_EQ(h.ValueToPosition(5), 2); // t = 2.5

    const AxisPlacement v = PlaceAxis(false, false, 40, 50, 100, 200, 10, 90);
    EXPECT_EQ(v.start, 120);
    EXPECT_EQ(v.end, 280);
    EXPECT_EQ(v.ValueToPosition(50), 120); // larger values higher up
    EXPECT_EQ(v.ValueToPosition(40), 280);
    EXPECT_EQ(v.ValueToPosition(45), 200);
    EXPECT_DOUBLE_EQ(v.PositionToValue(120), 50);
    EXPECT_DOUBLE_EQ(v.PositionToValue(200), 45);

    AxisPlacement inv = PlaceAxis(true, true, 0, 10, 0, 100, 0, 100);
    EXPECT_EQ(inv.ValueToPosition(10), 0);
    EXPECT_EQ(inv.ValueToPosition(2), 80);
    EXPECT_DOUBLE_EQ(inv.PositionToValue(80), 2);

    const AxisPlacement zero = PlaceAxis(true, false, 5, 5, 0, 101, 0, 100);
    EXPECT_EQ(zero.ValueToPosition(123), 50);
    EXPECT_EQ(b.ValueToPosition(1e30), b.centre); // beyond the integer range
    const AxisPlacement none = PlaceAxis(true, false, 0, 10, 0, 0, 0, 100);
    EXPECT_DOUBLE_EQ(none.PositionToValue(5), 0);
}

TEST(AxisTicks, MinorTicksFillBetweenAndBeyondTheMajorOnes) {
    const std::vector<int> majors = {100, 80, 60};
    std::vector<int> minor = MinorTickPositions(majors, 3, 50, 112);
    std::sort(minor.begin(), minor.end());
    EXPECT_EQ(minor, (std::vector<int>{55, 65, 70, 75, 85, 90, 95, 105, 110}));
    EXPECT_TRUE(MinorTickPositions({100}, 3, 0, 200).empty());
    EXPECT_TRUE(MinorTickPositions(majors, 0, 0, 200).empty());
    EXPECT_EQ(GridPositions(majors, true), (std::vector<int>{90, 70}));
    EXPECT_EQ(GridPositions(majors, false), majors);
}

// Far-off labels of a zoomed axis lie up to 2^32 pixels apart; nothing may overflow an int.
TEST(AxisTicks, MinorTicksOfMajorsFarApartAreExact) {
    struct Case {
        std::vector<int> majors;
        int count, start, end;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{-1073741824, 1073741824},
         3,
         INT_MIN,
         INT_MAX,
         {-1610612736, -536870912, 0, 536870912, 1610612736}},
        {{2147483000, -2147483000}, 1, -100, 100, {0}},
        {{0, INT_MAX}, 1, 0, INT_MAX, {1073741823}},
    };
    for (const Case& c : cases) {
        std::vector<int> minor = MinorTickPositions(c.majors, c.count, c.start, c.end);
        std::sort(minor.begin(), minor.end());
        EXPECT_EQ(minor, c.expected) << c.majors.front() << " " << c.majors.back();
    }
    EXPECT_EQ(GridPositions({INT_MAX, INT_MAX - 2, INT_MIN}, true),
              (std::vector<int>{INT_MAX - 1, -1}));
}

TEST(AxisPlacement, FarOffEndsAndPositionsStayInTheIntRange) {
    const AxisPlacement wide = PlaceAxis(true, false, 0, 1, 100, 1000, -1e300, 1e300);
    EXPECT_EQ(wide.start, -PixelLimit);
    EXPECT_EQ(wide.end, PixelLimit);
    EXPECT_EQ(wide.size, INT_MAX);
    EXPECT_EQ(wide.centre, 0);
    // A position past the int range is drawn at the centre, like any far-off value.
    struct Case {
        bool horizontal;
        double value;
        int expected;
    };
    const Case cases[] = {{true, 2147483.0, 1500},
                          {false, -2147483.0, 1500},
                          {true, 2000000.0, 2000001000},
                          {false, 2000000.0, -1999998000}};
    for (const Case& c : cases) {
        const AxisPlacement at = PlaceAxis(c.horizontal, false, 0, 1, 1000, 1000, 0, 100);
        EXPECT_EQ(at.ValueToPosition(c.value), c.expected) << c.horizontal << " " << c.value;
    }
}

TEST(AxisTicks, LabelsAtTheEndsNeedLabelsOnAxisAndTicksFollowTheLabels) {
    const AxisPlacement at = PlaceAxis(true, false, 0, 10, 0, 100, 0, 100);
    const std::vector<double> values = {10, 5, 0};
    std::vector<AxisLabel> labels;
    std::vector<int> ticks;
    PlaceLabels(at, values, {true, true, true}, labels, ticks);
    EXPECT_EQ(labels.size(), 3u);
    EXPECT_EQ(ticks, (std::vector<int>{100, 50, 0}));
    PlaceLabels(at, values, {false, true, true}, labels, ticks);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].position, 50);
    EXPECT_EQ(ticks, (std::vector<int>{50}));
    PlaceLabels(at, values, {true, true, false}, labels, ticks);
    EXPECT_TRUE(labels.empty());
    EXPECT_TRUE(ticks.empty());
    PlaceLabels(at, values, {false, false, false}, labels, ticks);
    EXPECT_EQ(ticks.size(), 3u);
    std::vector<double> many(5000);
    for (std::size_t k = 0; k < many.size(); ++k)
        many[k] = static_cast<double>(k) / 500;
    PlaceLabels(at, many, {true, true, true}, labels, ticks);
    EXPECT_EQ(ticks.size(), static_cast<std::size_t>(MaxTickPositions));
}
