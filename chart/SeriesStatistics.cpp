#include "chart/SeriesStatistics.h"

#include <algorithm>
#include <cmath>

namespace velkor::chart {

SeriesStatistics StatisticsInRange(std::span<const double> x, std::span<const double> y,
                                   double from, double to) {
    SeriesStatistics s;
    const auto first = std::lower_bound(x.begin(), x.end(), from);
    const auto last = std::upper_bound(first, x.end(), to);
    double sum = 0;
    for (auto it = first; it != last; ++it) {
        const std::size_t i = static_cast<std::size_t>(it - x.begin());
        const double v = y[i];
        if (std::isnan(v))
            continue;
        if (s.count == 0 || v < s.minimum) {
            s.minimum = v;
            s.minimumTime = x[i];
        }
        if (s.count == 0 || v > s.maximum) {
            s.maximum = v;
            s.maximumTime = x[i];
        }
        sum += v;
        ++s.count;
    }
    if (s.count > 0)
        s.mean = sum / static_cast<double>(s.count);
    return s;
}

} // namespace velkor::chart
