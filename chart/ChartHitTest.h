#pragma once
// What lies under a pixel of the chart as the last paint laid it out: a series line, an axis,
// the title, the plot rectangle or the legend. The mouse handling asks this on a press (to
// decide whether a drag may start) and while the pointer moves (for the series' cursor).

#include "chart/Geometry.h"

#include <QPoint>

namespace velkor::chart {

class Chart;
class ChartAxis;
class LineSeries;
struct SeriesView;

enum class ChartPart { None, Series, Axis, Title, Foot, Plot, Legend };

struct ChartHit {
    ChartPart part = ChartPart::None;
    const LineSeries* series = nullptr; // with ChartPart::Series
    const ChartAxis* axis = nullptr;    // with ChartPart::Axis
};

// P lies on the segment from A to B: |(P - A) x (B - A)| < max(|B.x - A.x|, |B.y - A.y|), that
// is within about one pixel of the line, and P is within the segment's bounding box.
bool OnSegment(QPoint p, QPoint a, QPoint b);

// The drawn line of the series passes through p. Only the part inside the plot rectangle is
// drawn, so only that part counts.
bool SeriesLineAt(const LineSeries& series, const SeriesView& view, QPoint p);

// The strip of a visible axis: along it from its pixel start to its pixel end, across it from
// 3 pixels inside the plot over the axis line and the ticks to where the labels begin.
bool AxisStripAt(const ChartAxis& axis, QPoint p);

// p lies in the plot rectangle (its pixels left..right-1, top..bottom-1).
bool InPlot(const PlotRect& plot, QPoint p);

// The first hit in this order: the line of an active series (the last series first), a visible
// axis (bottom, top, left, right), the title, the plot rectangle while some series is active,
// the legend. With `seriesLines` false the costly line test is left out; a line lies inside the
// plot of an active series, so whether a drag may start does not depend on it.
ChartHit HitTest(const Chart& chart, QPoint p, bool seriesLines = true);

// The press at p may start a zoom or panning drag: it hits a series line, an axis or the plot.
bool StartsDrag(const ChartHit& hit);

} // namespace velkor::chart
