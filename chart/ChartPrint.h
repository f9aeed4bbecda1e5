#pragma once
// Printing the chart on one landscape page, drawn exactly as on screen (zoom and scroll
// included), scaled onto a rectangle of the page that keeps about the on-screen shape.

#include "chart/PrintLayout.h"

#include <QSize>

class QPainter;
class QPrinter;

namespace velkor::chart {

class Chart;
class ChartWidget;

// Prints `chart` on `printer` as one page in landscape, in a job titled with the chart's
// name ("Chart1"). The printer's orientation is landscape only for the print and is restored
// also when printing fails. A failure to start the job or a printer error raises
// velkor::InOutError (the job is aborted first); other errors pass through unchanged. A
// QPrinter with PdfFormat and an output file prints the same page into that file. The chart is
// laid out at `layoutSize` (with the ranges its axes have now), or at its size on screen when
// that is empty.
void PrintLandscape(ChartWidget& chart, QPrinter& printer, QSize layoutSize = QSize());

// Draws `chart`, laid out at `screen` size less `resolution` percent, stretched onto
// `rect` (device pixels of the painter's device), clipped to it and with the printed
// differences. The painter's window, viewport and clipping are restored afterwards, also when
// the drawing fails.
void PaintOnPage(Chart& chart, QPainter& painter, QSize screen, const PlotRect& rect,
                 int resolution);

} // namespace velkor::chart
