#pragma once
// Which values of an axis get a label: the first label (calendar-rounded or a multiple of the
// step), stepping down through the calendar or by the step, down to the minimum.

#include <vector>

namespace velkor::chart {

// Drops the time of day and, for the half-month, month and year steps, moves to the 1st (or
// 15th) of the month or of the year; for steps of several years, to a year that divides by
// `years`. Values not after 1900-01-01 come back unchanged.
double CalendarRound(double x, int stepIndex, int years = 1);

// The next label value below v: by the calendar for steps of half a month to a year, or of
// several years (on a calendar axis), by `step` otherwise.
double StepDown(double v, double step, int stepIndex, bool calendar);

struct LabelValueInput {
    double minimum = 0;
    double maximum = 0;
    double step = 0;
    int stepIndex = 25;
    bool dateTime = false;     // the axis shows date-times
    bool exactDateTime = true; // calendar-aligned labels for steps of a day or more
    bool roundFirstLabel = true;
};

// The label values from the maximum downward; empty when the axis draws no labels.
std::vector<double> LabelValues(const LabelValueInput& in);

} // namespace velkor::chart
