#pragma once
// Where a printed chart goes on the page: the print settings, the proportional margins that
// keep about the chart's on-screen shape, the page rectangle in device pixels, and that
// rectangle in the logical units the chart is laid out in. Plain functions of plain values.

#include "chart/Geometry.h"

#include <QSize>

namespace velkor::chart {

// In percent of the page width (left, right) or height (top, bottom).
struct PrintMargins {
    int left = 15;
    int top = 15;
    int right = 15;
    int bottom = 15;
    bool operator==(const PrintMargins&) const = default;
};

struct PrintSettings {
    // Recompute the margins at each print from the chart's shape on screen; the computed
    // margins then stay in `margins`.
    bool proportional = true;
    PrintMargins margins;
    // Percent by which the drawing's logical size is reduced; 0 lays it out at screen size.
    int resolution = 0;
};

// The margin, in percent of extent b, that leaves room for a chart 60 % of extent a across
// with aspect ratio x, on a device whose pixels are r times as wide as high:
// Trunc(Round((b - (a - a * 40 * 0.01) * x * r) * 100 / b) / 2). 0 for an empty page.
int ProportionalMargin(int a, int b, double x, double r);

// The margins for a chart of width x height on screen, on a page of pageWidth x pageHeight
// device pixels: 15 % on the sides along the chart's longer extent, computed ones across.
PrintMargins ProportionalMargins(int width, int height, int pageWidth, int pageHeight,
                                 double resolutionRatio);

// The rectangle inside the margins of a page of pageWidth x pageHeight device pixels.
PlotRect PageRectangle(const PrintMargins& margins, int pageWidth, int pageHeight);

// The size the chart is laid out at: its screen size less `resolution` percent.
QSize LogicalSize(QSize screen, int resolution);

// The page rectangle (normalised, device pixels) in the logical units of a drawing of
// `logical` size stretched over it; an empty rectangle for an empty page rectangle.
PlotRect LogicalRectangle(const PlotRect& page, QSize logical);

// Left <= right and top <= bottom.
PlotRect Normalized(PlotRect r);

} // namespace velkor::chart
