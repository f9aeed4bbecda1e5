#pragma once
// Statistics of one series over a time range: the number of points, the smallest and the largest
// value each with its time (the first such point), and the mean. Pure; the range's ends are
// found by binary search over the time-ordered points.

#include <cstddef>
#include <span>

namespace velkor::chart {

struct SeriesStatistics {
    std::size_t count = 0; // points with a time in the range and a value (NaN values left out)
    double minimum = 0;
    double minimumTime = 0;
    double maximum = 0;
    double maximumTime = 0;
    double mean = 0;
};

// Over the points of `x` (ascending) and `y` with from <= x <= to.
SeriesStatistics StatisticsInRange(std::span<const double> x, std::span<const double> y,
                                   double from, double to);

} // namespace velkor::chart
