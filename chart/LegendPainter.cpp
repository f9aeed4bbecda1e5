#include "chart/LegendPainter.h"

#include <QFontMetrics>
#include <QPainter>

namespace velkor::chart {

void PaintLegend(QPainter& painter, const Legend& legend, const LegendGeometry& g,
                 const std::vector<LegendItem>& items, bool printing) {
    if (!g.drawn)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (legend.ShadowSize() > 0)
        painter.fillRect(g.shadow.ToQRect(), ToQColor(legend.ShadowColor()));
    painter.fillRect(g.frameBox.ToQRect(), ToQColor(legend.BackColor()));
    const ChartPen& frame = legend.Frame();
    if (frame.visible && frame.width > 0) {
        ChartPen thin = frame;
        thin.width = 1;
        painter.setPen(ToQPen(thin, Black, printing));
        painter.setBrush(Qt::NoBrush);
        for (int k = 0; k < frame.width; ++k)
            painter.drawRect(QRect(g.frameBox.left + k, g.frameBox.top + k,
                                   g.frameBox.Width() - 1 - 2 * k,
                                   g.frameBox.Height() - 1 - 2 * k));
    }
    const QFont font = ToQFont(legend.Font());
    const QFontMetrics fm(font);
    painter.setFont(font);
    painter.setBackgroundMode(Qt::TransparentMode);
    const std::size_t n = std::min(items.size(), g.textAt.size());
    for (std::size_t k = 0; k < n; ++k) {
        const LegendItem& item = items[k];
        QPen pen = ToQPen(item.pen, item.color, printing);
        if (pen.style() != Qt::NoPen && g.symbolLength > 0) {
            pen.setColor(ToQColor(item.color));
            painter.setPen(pen);
            painter.drawLine(g.symbols[k]);
        }
        painter.setPen(ToQColor(legend.Font().color));
        painter.drawText(g.textAt[k].x(), g.textAt[k].y() + fm.ascent(), item.text);
    }
    painter.restore();
}

} // namespace velkor::chart
