#include "chart/AxisSteps.h"

#include "chart/Rounding.h"

#include <cmath>

namespace velkor::chart {

namespace {

constexpr double Second = 1.0 / 86400.0;
constexpr double Minute = 1.0 / 1440.0;
constexpr double Hour = 1.0 / 24.0;

} // namespace

const std::array<double, DateTimeStepCount>& DateTimeSteps() {
    static const std::array<double, DateTimeStepCount> steps = {
        Second,      5 * Second,  10 * Second, 15 * Second, 30 * Second, Minute, 5 * Minute,
        10 * Minute, 15 * Minute, 30 * Minute, Hour,        2 * Hour,    0.25,   0.5,
        1.0,         2.0,         3.0,         7.0,         15.0,        30.0,   60.0,
        90.0,        120.0,       182.0,       365.0};
    return steps;
}

double NextDateTimeStep(double d) {
    const auto& steps = DateTimeSteps();
    if (d >= steps[23])
        return steps[24];
    for (int i = DateTimeStepCount - 2; i >= 0; --i)
        if (steps[i] <= d)
            return steps[i + 1];
    return steps[0];
}

double Next125(double x) {
    if (!(x > 0) || !std::isfinite(x))
        return x > 0 ? x : 1e-12;
    // Scale into [1, 10) by a power of ten; the product may land a hair off, so settle the
    // mantissa before choosing.
    int exponent = static_cast<int>(std::floor(std::log10(x)));
    double scale = std::pow(10.0, exponent);
    double m = x / scale;
    if (m < 1) {
        scale /= 10;
        m = x / scale;
    } else if (m >= 10) {
        scale *= 10;
        m = x / scale;
    }
    // A mantissa within rounding noise of 1, 2 or 5 counts as that value.
    const double eps = 1e-9;
    double next = m < 2 - eps ? 2 : m < 5 - eps ? 5 : m < 10 - eps ? 10 : 20;
    double result = next * scale;
    if (!(result > x))
        result = std::nextafter(x, INFINITY) * 2;
    return result;
}

int LabelsThatFit(int axisSize, int labelSize, int separation) {
    if (labelSize <= 0)
        return 1;
    double s = labelSize;
    if (separation > 0)
        s += Round(separation * 0.01 * labelSize);
    return RoundToInt(axisSize / s);
}

double DateTimeLabelStep(double range, double increment, int fit) {
    const double second = DateTimeSteps()[0];
    if (fit < 1)
        return second;
    double d = increment > second ? increment : second;
    if (range / d > 1000000.0)
        d = range / 1000000.0;
    // Stepping through the table, then through 2, 5, 10, 20 ... years, always grows d, so the
    // loop ends; a range that is not finite ends it at once through the comparison with NaN.
    constexpr double Year = 365.0;
    while (Round(range / d) > fit) {
        if (d >= Year)
            d = Year * Next125(std::round(d / Year));
        else
            d = NextDateTimeStep(d);
        if (!std::isfinite(d))
            break;
    }
    return d > second ? d : second;
}

double NumberLabelStep(double range, double increment, int fit, int separation) {
    constexpr double Smallest = 1e-12;
    if (fit < 1)
        return Smallest;
    double step = increment > 0 ? increment : (std::fabs(range) >= 1 ? 1.0 : Smallest);
    if (separation > 0) {
        double k = fit + 1.0;
        do {
            const double t = range / step;
            if (std::fabs(t) < 2147483647.0) {
                k = Round(t);
                if (k > fit)
                    step = Next125(step);
            } else {
                step = Next125(step);
            }
        } while (k > fit && std::isfinite(step));
    }
    return step > Smallest ? step : Smallest;
}

int YearsPerStep(double step) {
    const double years = std::round(step / 365.0);
    return years >= 1 && years < 100000 ? static_cast<int>(years) : 1;
}

int DateTimeStepIndex(bool dateTime, bool exactDateTime, double increment, double step) {
    if (!dateTime || !exactDateTime || increment == 0)
        return NoDateTimeStep;
    const auto& steps = DateTimeSteps();
    const double second = steps[0];
    int i = NoDateTimeStep;
    for (int j = DateTimeStepCount - 1; j >= 0; --j)
        if (std::fabs(steps[j] - increment) < second) {
            i = j;
            break;
        }
    if (i == NoDateTimeStep)
        return i;
    while (step > steps[i] && i < DateTimeStepCount - 1)
        ++i;
    return i;
}

} // namespace velkor::chart
