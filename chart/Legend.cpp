#include "chart/Legend.h"

#include "chart/Rounding.h"

#include <algorithm>

namespace velkor::chart {

QString LegendItemText(const QString& title, const QString& name, int index) {
    if (!title.isEmpty())
        return title;
    if (!name.isEmpty())
        return name;
    return QStringLiteral("Series ") + QString::number(index);
}

LegendGeometry LayoutLegend(const LegendInput& in, const PlotRect& plot) {
    LegendGeometry g;
    g.plot = plot;
    const int items = static_cast<int>(in.textWidths.size());
    if (items == 0)
        return g;
    const int frame = in.frameVisible ? in.frameWidth : 0;
    const int w = *std::max_element(in.textWidths.begin(), in.textWidths.end());
    const int sl = RoundToInt((w + 4) * in.colorWidth / 100.0);
    const int h = in.fontHeight;
    const bool horizontal =
        in.alignment == LegendAlignment::Bottom || in.alignment == LegendAlignment::Top;
    g.textWidth = w;
    g.symbolLength = sl;

    int columns = 1;
    if (horizontal) {
        const int room = plot.Width() - 2 * frame - 8;
        const int each = w + 4 + sl + 8;
        columns = room > 0 && each > 0 ? std::min(room / each, items) : 0;
    }
    if (columns <= 0)
        return g;
    const int rows = std::min((items + columns - 1) / columns, std::max(in.maxNumRows, 0));
    if (rows <= 0)
        return g;
    g.columns = columns;
    g.rows = rows;
    const int outside = in.frameVisible ? frame + 1 : 0;

    PlotRect box;
    if (horizontal) {
        const int width = std::min(plot.Width(), 2 * in.shadowSize + (sl + w + 8) * columns + 8);
        box.left = (plot.left + plot.right) / 2 - width / 2 +
                   RoundToInt(in.topPos * (in.chartWidth - width) / 100.0);
        box.right = box.left + width;
        if (in.alignment == LegendAlignment::Bottom) {
            box.bottom = plot.bottom - in.shadowSize - outside;
            box.top = box.bottom - rows * h - 2;
        } else {
            box.top = plot.top + outside;
            box.bottom = box.top + rows * h + 2;
        }
    } else {
        const int width = sl + w + 8 + 4;
        const int height = rows * h + 2;
        if (in.alignment == LegendAlignment::Right) {
            box.right = plot.right - in.shadowSize - outside;
            box.left = box.right - width;
        } else {
            box.left = plot.left + outside;
            box.right = box.left + width;
        }
        box.top = plot.top + RoundToInt(in.topPos * plot.Height() / 100.0);
        box.bottom = box.top + height;
    }
    g.box = box;
    g.frameBox = {box.left - frame, box.top - frame, box.right + frame, box.bottom + frame};
    g.shadow = {g.frameBox.left + in.shadowSize, g.frameBox.top + in.shadowSize,
                g.frameBox.right + in.shadowSize, g.frameBox.bottom + in.shadowSize};
    g.drawn = true;

    const int shown = std::min(items, rows * columns);
    for (int k = 0; k < shown; ++k) {
        const int row = k / columns, column = k % columns;
        const int x = box.left + sl + 8 + column * (w + 4 + sl + 4);
        const int y = box.top + 1 + row * h;
        g.textAt.emplace_back(x, y);
        const int mid = ((y + 2) + (y + h - 2)) / 2;
        g.symbols.emplace_back(x - 4 - sl, mid, x - 5, mid);
    }

    if (in.resizeChart) {
        if (horizontal) {
            const int margin =
                in.vertMargin != 0 ? in.vertMargin : RoundToInt(plot.Height() * 0.04);
            if (in.alignment == LegendAlignment::Bottom)
                g.plot.bottom = box.top - margin;
            else
                g.plot.top = g.shadow.bottom + margin;
        } else {
            const int margin =
                in.horizMargin != 0 ? in.horizMargin : RoundToInt(plot.Width() * 0.04);
            if (in.alignment == LegendAlignment::Right)
                g.plot.right = g.frameBox.left - margin;
            else
                g.plot.left = g.shadow.right + margin;
        }
    }
    return g;
}

} // namespace velkor::chart
