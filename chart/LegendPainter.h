#pragma once
// Draws a laid-out legend: shadow, box with frame, and per item its symbol and text.

#include "chart/Legend.h"

#include <vector>

class QPainter;

namespace velkor::chart {

struct LegendItem {
    QString text;
    Color color = Red;
    ChartPen pen; // the series' line pen
};

void PaintLegend(QPainter& painter, const Legend& legend, const LegendGeometry& g,
                 const std::vector<LegendItem>& items, bool printing);

} // namespace velkor::chart
