#pragma once
// What the hover readout shows for a pointer position: the sample nearest in time among the
// points of the visible series that lie in the visible time range, and each visible series'
// value at that time. Pure functions of the chart as last painted; the searches are binary
// searches over the time-ordered points, so a readout costs the same for any number of points.

#include <QPoint>
#include <QString>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace velkor::chart {

class Chart;
class ChartAxis;
class LineSeries;

// The index of the value of `x` (ascending) nearest to t among those in from..to, the first of
// equal values; nullopt when none lies in that range.
std::optional<std::size_t> NearestInRange(std::span<const double> x, double t, double from,
                                          double to);

// The index of the first value of `x` (ascending) equal to t; nullopt when none is.
std::optional<std::size_t> IndexAt(std::span<const double> x, double t);

struct ReadoutLine {
    std::size_t series = 0;      // index in the chart
    std::optional<double> value; // none: the series has no point at the readout's time
};

struct Readout {
    double time = 0;                // the nearest sample's time
    std::vector<ReadoutLine> lines; // one per visible series, in the chart's order
};

// The horizontal axis a series is drawn against.
const ChartAxis& TimeAxisOf(const Chart& chart, const LineSeries& series);

// The readout for the pointer at `at` (widget pixels); nullopt when `at` is outside the plot of
// the last paint or no visible series has a point in the visible time range.
std::optional<Readout> ReadoutAt(const Chart& chart, QPoint at);

// "yyyy-mm-dd hh:mm:ss" of a day count.
QString ReadoutTimeText(double time);

// "Temperatura: 21,5 °C": the series' title (its name when the title is empty), the value with
// one decimal in the chart's number format, and the unit after a blank when there is one. A
// series without a point at the readout's time shows a dash.
QString ReadoutLineText(const Chart& chart, const ReadoutLine& line, const QString& unit);

} // namespace velkor::chart
