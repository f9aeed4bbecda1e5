#include "chart/AxisScale.h"

#include <algorithm>

namespace velkor::chart {

AxisPlacement PlaceAxis(bool horizontal, bool inverted, double minimum, double maximum, int edge,
                        int length, double startPercent, double endPercent) {
    AxisPlacement a;
    a.horizontal = horizontal;
    a.inverted = inverted;
    a.minimum = minimum;
    a.maximum = maximum;
    a.range = maximum - minimum;
    // Percentages far outside 0..100 put the ends far off: they stop at the pixel limit, and
    // the size and centre are taken in a wider type.
    a.start = ClampToPixels(edge + Round(length * 0.01 * startPercent));
    a.end = ClampToPixels(edge + Round(length * 0.01 * endPercent));
    a.size = ClampToInt(static_cast<double>(a.end) - a.start);
    a.centre = static_cast<int>((static_cast<long long>(a.start) + a.end) / 2);
    return a;
}

void PlaceLabels(const AxisPlacement& at, const std::vector<double>& values, const LabelFilter& f,
                 std::vector<AxisLabel>& labels, std::vector<int>& ticks) {
    labels.clear();
    ticks.clear();
    auto record = [&](int p) {
        if (static_cast<int>(ticks.size()) < MaxTickPositions)
            ticks.push_back(p);
    };
    for (const double v : values) {
        const int p = at.ValueToPosition(v);
        const bool drawable = f.labelsOnAxis || (p > at.start && p < at.end);
        if (drawable) {
            if (!f.tickOnLabelsOnly || f.labels)
                record(p);
            if (f.labels)
                labels.push_back({v, p, {}});
        } else if (!f.tickOnLabelsOnly) {
            record(p);
        }
    }
}

std::vector<int> MinorTickPositions(const std::vector<int>& majors, int count, int start, int end) {
    std::vector<int> out;
    if (count <= 0 || majors.size() < 2)
        return out;
    // Majors may lie up to 2^32 pixels apart (far-off labels of a zoomed axis): distances and
    // positions are taken as doubles, which hold them exactly, and only those inside the axis
    // become ints.
    auto add = [&](double p) {
        if (p > std::min(start, end) && p < std::max(start, end))
            out.push_back(static_cast<int>(p));
    };
    for (std::size_t k = 1; k < majors.size(); ++k) {
        const double a = majors[k - 1], b = majors[k];
        const double d = (b - a) / (count + 1);
        for (int j = 1; j <= count; ++j)
            add(b - Round(j * d));
    }
    const double d = (static_cast<double>(majors[1]) - majors[0]) / (count + 1);
    for (int j = 1; j <= count; ++j) {
        add(majors.front() - Round(j * d));
        add(majors.back() + Round(j * d));
    }
    return out;
}

std::vector<int> GridPositions(const std::vector<int>& ticks, bool centred) {
    if (!centred)
        return ticks;
    std::vector<int> out;
    for (std::size_t k = 1; k < ticks.size(); ++k)
        out.push_back(static_cast<int>((static_cast<long long>(ticks[k - 1]) + ticks[k]) / 2));
    return out;
}

} // namespace velkor::chart
