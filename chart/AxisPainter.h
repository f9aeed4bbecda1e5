#pragma once
// Draws an axis from its last division: the labels, then the axis line, major ticks, grid,
// inner ticks and minor ticks, and the title.

#include "chart/Geometry.h"

class QPainter;

namespace velkor::chart {

class ChartAxis;

// With `printing`, a white label or title font is drawn black and thin dotted pens stay one
// device pixel wide.
void PaintAxis(QPainter& painter, const ChartAxis& axis, const PlotRect& plot, bool printing);

} // namespace velkor::chart
