#pragma once
// How far apart the labels of an axis are: the date-time step table, the 1-2-5 number steps
// and the number of labels that fit. Plain functions of plain values.

#include <array>

namespace velkor::chart {

constexpr int DateTimeStepCount = 25;
// Index returned when no entry of the table applies.
constexpr int NoDateTimeStep = 25;

// The label steps of a date-time axis, in days, from one second to one year.
const std::array<double, DateTimeStepCount>& DateTimeSteps();

// The entry that follows the largest entry not greater than d (one year from 182 days on).
double NextDateTimeStep(double d);

// The next of 1, 2, 5, 10, 20, 50 ... (or 0.5, 0.2, 0.1 ... below 1), always greater than x.
double Next125(double x);

// Labels of size `labelSize` pixels that fit along `axisSize` pixels with `separation` percent
// of a label kept free between them; 1 when the size is not known (0).
int LabelsThatFit(int axisSize, int labelSize, int separation);

// The step of a date-time axis: the smallest table entry, or beyond one year the smallest of
// 2, 5, 10, 20, 50, 100 ... years (365 days each), at or above `increment` that gives at most
// `fit` labels over `range` days.
double DateTimeLabelStep(double range, double increment, int fit);

// The step of a plain-number axis, 1-2-5 from `increment` (or 1, or 1e-12 for ranges below 1).
double NumberLabelStep(double range, double increment, int fit, int separation);

// The whole years of a step of the year entry: 1 for a year, 10 for 3650 days.
int YearsPerStep(double step);

// The table index that the label loop uses: from the entry within one second of `increment`
// raised to the step; NoDateTimeStep when the axis is not a calendar date-time axis.
int DateTimeStepIndex(bool dateTime, bool exactDateTime, double increment, double step);

} // namespace velkor::chart
