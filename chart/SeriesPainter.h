#pragma once
// Drawing a line series into the plot rectangle.
//
// Every segment between neighbouring visible points is drawn by the rules (skipping far-off
// points, joining only different ends, entering from the left edge by interpolation). With a
// million points most segments fall into one pixel column, where they are vertical pieces
// whose pixels together are exactly the column's span from its lowest to its highest point.
// The reduced drawing therefore keeps, per column, that one vertical span and the segment
// from the column's last point to the next column's first point; it lights exactly the same
// pixels as drawing every segment, as long as the segments share one colour and a thin solid
// pen without antialiasing. Otherwise every segment is drawn.

#include "chart/AxisScale.h"
#include "chart/Geometry.h"

#include <QPoint>
#include <cstddef>
#include <functional>
#include <span>

class QPainter;

namespace velkor::chart {

class LineSeries;

struct IndexRange {
    std::size_t first = 0;
    std::size_t last = 0;
    bool empty = true;
};

// The points to draw for ascending X values `x` and the X values `xl`, `xr` at the plot's
// left and right edges: from the first point at or right of xl to the first point at or right
// of xr (the series' last point if that lies within).
IndexRange VisibleRange(std::span<const double> x, double xl, double xr);

enum class LineDrawing { Reduced, EverySegment };

struct SeriesView {
    AxisPlacement x; // the series' horizontal axis
    AxisPlacement y; // the series' vertical axis
    PlotRect plot;
    bool printing = false;
};

// Draws the series clipped to the plot rectangle. Reduced falls back to every segment when the
// visible points do not share one colour or the pen is not thin and solid.
void DrawLineSeries(QPainter& painter, const LineSeries& series, const SeriesView& view,
                    LineDrawing mode = LineDrawing::Reduced);

// Calls `test` with the end pixels of every segment DrawLineSeries draws (each segment on its
// own, as without reduction, before clipping), in drawing order, until it returns true; returns
// whether it did.
bool AnySegment(const LineSeries& series, const SeriesView& view,
                const std::function<bool(QPoint, QPoint)>& test);

} // namespace velkor::chart
