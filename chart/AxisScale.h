#pragma once
// The value object an axis division produces: where the axis lies along and across the plot,
// its step, the labels with their pixel positions and texts, the major and minor tick
// positions. The painter draws only what this holds; the zoom code reads the placement.

#include "chart/Rounding.h"

#include <QString>
#include <cmath>
#include <vector>

namespace velkor::chart {

// The current range of an axis mapped onto its pixel stretch.
struct AxisPlacement {
    bool horizontal = true;
    bool inverted = false;
    double minimum = 0;
    double maximum = 0;
    double range = 0;
    int start = 0;
    int end = 0;
    int size = 0;
    int centre = 0;

    // (v - minimum) * size / range rounded, from the start (horizontal) or from the end
    // (vertical: larger values higher up); the centre for a zero range or a value whose
    // position lies beyond the int range.
    int ValueToPosition(double v) const {
        if (range != 0) {
            const double t = (v - minimum) * size / range;
            if (std::fabs(t) < 2147483647.0) {
                const long long r = static_cast<long long>(Round(t));
                const long long p = horizontal != inverted ? start + r : end - r;
                if (p >= INT_MIN && p <= INT_MAX)
                    return static_cast<int>(p);
            }
        }
        return centre;
    }

    double PositionToValue(int p) const {
        if (size < 1)
            return 0;
        const double a =
            (inverted ? static_cast<double>(end) - p : static_cast<double>(p) - start) * range /
            size;
        return horizontal ? minimum + a : maximum - a;
    }
};

// Places an axis with range [minimum, maximum] along a plot edge starting at `edge` with
// `length` pixels, from `startPercent` to `endPercent` of it.
AxisPlacement PlaceAxis(bool horizontal, bool inverted, double minimum, double maximum, int edge,
                        int length, double startPercent, double endPercent);

struct AxisLabel {
    double value = 0;
    int position = 0;
    QString text;
};

// At most this many major tick positions are recorded in one drawing.
constexpr int MaxTickPositions = 2000;

struct AxisScale {
    AxisPlacement placement;
    bool visible = false;
    bool dateTime = false;
    // Across the plot: the axis line, the line the labels start from, the title line.
    int axisPosition = 0;
    int labelsPosition = 0;
    int titlePosition = 0;
    double step = 0;
    int stepIndex = 25;
    std::vector<AxisLabel> labels; // drawn labels, from the maximum downward
    std::vector<int> ticks;        // major tick positions in the order recorded
    std::vector<int> gridLines;    // positions of the grid lines
    std::vector<int> minorTicks;
};

// Keeps the label values whose position is drawable and records the tick positions, as the
// label loop does for each value: a value at or beyond the axis ends counts only with
// `labelsOnAxis`; with `tickOnLabelsOnly` a tick needs a drawn label.
struct LabelFilter {
    bool labelsOnAxis = true;
    bool tickOnLabelsOnly = true;
    bool labels = true;
};
void PlaceLabels(const AxisPlacement& at, const std::vector<double>& values, const LabelFilter& f,
                 std::vector<AxisLabel>& labels, std::vector<int>& ticks);

// `count` minor ticks between neighbouring major positions, continued with the spacing of the
// first pair beyond the first and the last position; only those strictly inside (start, end).
std::vector<int> MinorTickPositions(const std::vector<int>& majors, int count, int start, int end);

// The grid positions: the ticks themselves, or with `centred` the midpoints between
// neighbouring ticks.
std::vector<int> GridPositions(const std::vector<int>& ticks, bool centred);

} // namespace velkor::chart
