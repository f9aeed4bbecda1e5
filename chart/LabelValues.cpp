#include "chart/LabelValues.h"

#include "chart/AxisSteps.h"
#include "chart/Rounding.h"
#include "platform/DateTime.h"

#include <cmath>

namespace velkor::chart {

namespace {

// 1900-01-01 as a day count.
constexpr double Day19000101 = 2.0;

// More labels than this never fit on any axis; the loop stops there whatever the values.
constexpr int MaxLabelValues = 20000;

double EncodeOr(int year, int month, int day, double fallback) {
    double d = 0;
    if (day > DaysInMonth(year, month))
        day = DaysInMonth(year, month);
    return TryEncodeDate(year, month, day, d) ? d : fallback;
}

bool IsCalendarStep(int i) {
    return i >= 18 && i <= 24;
}

} // namespace

double CalendarRound(double x, int stepIndex, int years) {
    if (!(x > Day19000101))
        return x;
    const DateParts d = DecodeDate(x);
    if (d.year == 0)
        return x;
    int day = d.day, month = d.month;
    if (stepIndex == 18)
        day = day < 15 ? 1 : 15;
    else if (stepIndex >= 19 && stepIndex <= 23)
        day = 1;
    int year = d.year;
    if (stepIndex == 24) {
        day = month = 1;
        // Steps of several years fall on years that divide by the step: 2000, 2010, 2020.
        year -= years > 1 ? year % years : 0;
    }
    return EncodeOr(year, month, day, std::trunc(x));
}

double StepDown(double v, double step, int stepIndex, bool calendar) {
    if (!calendar || !IsCalendarStep(stepIndex))
        return v - step;
    const DateParts d = DecodeDate(v);
    if (d.year == 0)
        return v - step;
    int year = d.year, month = d.month, day = d.day;
    if (stepIndex == 18) {
        if (day > 15) {
            day = 15;
        } else if (day > 1) {
            day = 1;
        } else {
            day = 15;
            if (--month < 1) {
                month = 12;
                --year;
            }
        }
    } else if (stepIndex == 24) {
        year -= YearsPerStep(step);
    } else {
        static const int months[5] = {1, 2, 3, 4, 6};
        const int back = months[stepIndex - 19];
        if (month <= back) {
            month += 12 - back;
            --year;
        } else {
            month -= back;
        }
        day = 1;
    }
    if (year < 1)
        return -INFINITY;
    return EncodeOr(year, month, day, v - step);
}

std::vector<double> LabelValues(const LabelValueInput& in) {
    std::vector<double> values;
    const int i = in.stepIndex;
    const double range = in.maximum - in.minimum;
    if (!(in.step > 0 || IsCalendarStep(i)) || !(in.maximum >= in.minimum))
        return values;
    if (!(std::fabs(range / in.step) < 10000.0))
        return values;
    const bool calendar = in.dateTime && in.exactDateTime;
    double v;
    if (calendar && i >= 14 && i <= 24)
        v = CalendarRound(in.maximum, i, YearsPerStep(in.step));
    else if (in.minimum == in.maximum)
        v = in.maximum;
    else if (in.roundFirstLabel)
        v = Trunc(in.maximum / in.step) * in.step;
    else
        v = in.maximum;

    // Each step must move v down; a step lost in the rounding of a large value ends the
    // labels instead of repeating one value forever.
    auto down = [&](double x) {
        const double next = StepDown(x, in.step, i, calendar);
        return next < x ? next : -INFINITY;
    };
    for (int n = 0; v > in.maximum && n < MaxLabelValues; ++n)
        v = down(v);
    const double lowest = (in.minimum - 1e-12) / 1.000000000001;
    while (v >= lowest && static_cast<int>(values.size()) < MaxLabelValues) {
        values.push_back(v);
        // A zero range has one label: the tiny steps that still pass the widened lower bound
        // would only repeat it on the same pixel.
        if (in.minimum == in.maximum)
            break;
        v = down(v);
    }
    return values;
}

} // namespace velkor::chart
