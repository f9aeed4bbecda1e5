#pragma once
// The report's chart: the window's chart configuration drawn by the chart engine, with the
// temperature limits as dashed lines and the excursions shaded in an opaque colour beneath the
// lines (a PDF/A page has no transparency). Its points are reduced first, so that the chart of
// ten million samples is as small as that of a week.

#include "app/report/ReportData.h"

#include <QRect>
#include <algorithm>
#include <cstddef>

class QPainter;

namespace velkor::report {

// The slices of the time range a line is reduced to. More than the chart's pixel columns, so
// that each column still sees its lowest and highest point.
constexpr int ReducedSlices = 2048;

// Of each of `slices` equal slices of the time range, the first, lowest, highest and last point
// in time order: the pixels a line lights at up to `slices` columns stay the same. `time(i)` is
// ascending.
template <class TimeAt, class ValueAt>
ChartLine ReduceLine(std::size_t count, TimeAt time, ValueAt value, int slices = ReducedSlices) {
    ChartLine line;
    if (count == 0)
        return line;
    const double t0 = time(0), span = time(count - 1) - t0;
    auto slice = [&](std::size_t i) {
        return span > 0 ? std::min(slices - 1, static_cast<int>((time(i) - t0) / span * slices))
                        : 0;
    };
    auto keep = [&](std::size_t i) {
        line.time.push_back(time(i));
        line.value.push_back(value(i));
    };
    std::size_t first = 0;
    while (first < count) {
        const int s = slice(first);
        std::size_t last = first, low = first, high = first;
        while (last + 1 < count && slice(last + 1) == s) {
            ++last;
            if (value(last) < value(low))
                low = last;
            if (value(last) > value(high))
                high = last;
        }
        std::size_t picks[] = {first, std::min(low, high), std::max(low, high), last};
        for (int k = 0; k < 4; ++k)
            if (k == 0 || picks[k] != picks[k - 1])
                keep(picks[k]);
        first = last + 1;
    }
    return line;
}

// Draws the chart onto `rect` (device pixels of the painter), laid out at the size of the
// window's chart and stretched onto it as a printout is.
void PaintReportChart(QPainter& painter, const QRect& rect, const ReportData& data);

} // namespace velkor::report
