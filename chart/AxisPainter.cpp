#include "chart/AxisPainter.h"

#include "chart/ChartAxis.h"
#include "chart/LabelText.h"

#include <QFontMetrics>
#include <QPainter>

namespace velkor::chart {

namespace {

// A line across the axis at position p along it, from `from` to `to` across (both included).
void CrossLine(QPainter& painter, bool horizontal, int p, int from, int to) {
    if (horizontal)
        painter.drawLine(p, from, p, to);
    else
        painter.drawLine(from, p, to, p);
}

// Outward is away from the plot: down for the bottom axis, left for the left axis.
int Outward(AxisKind kind) {
    return kind == AxisKind::Bottom || kind == AxisKind::Right ? 1 : -1;
}

QColor TextColor(const ChartFont& font, bool printing) {
    return ToQColor(printing && font.color == White ? Black : font.color);
}

void PaintLabels(QPainter& painter, const ChartAxis& axis, bool printing) {
    const AxisScale& s = axis.Scale();
    if (s.labels.empty())
        return;
    const QFont font = ToQFont(axis.LabelsFont());
    const QFontMetrics fm(font);
    const int h = fm.height();
    painter.setFont(font);
    painter.setPen(TextColor(axis.LabelsFont(), printing));
    painter.setBackgroundMode(Qt::TransparentMode);
    const int angle = axis.LabelsAngle();
    for (const AxisLabel& label : s.labels) {
        const QStringList lines = LabelLines(label.text);
        const int n = static_cast<int>(lines.size());
        if (angle == 90 || angle == 270) {
            // Turned text: the block reads along the turned baseline, its end at the labels
            // line, centred on the label position.
            painter.save();
            const bool h0 = axis.Horizontal();
            painter.translate(h0 ? label.position : s.labelsPosition,
                              h0 ? s.labelsPosition : label.position);
            painter.rotate(angle == 90 ? -90 : 90);
            const int sign = (Outward(axis.Kind()) > 0) == (angle == 90) ? -1 : 1;
            for (int k = 0; k < n; ++k) {
                const int w = fm.horizontalAdvance(lines[k]);
                const int x = sign < 0 ? -w : 0;
                const int y = -n * h / 2 + k * h + fm.ascent();
                painter.drawText(x, y, lines[k]);
            }
            painter.restore();
            continue;
        }
        for (int k = 0; k < n; ++k) {
            const int w = fm.horizontalAdvance(lines[k]);
            int x = 0, top = 0;
            switch (axis.Kind()) {
            case AxisKind::Bottom:
                x = label.position - w / 2;
                top = s.labelsPosition + k * h;
                break;
            case AxisKind::Top:
                x = label.position - w / 2;
                top = s.labelsPosition - (n - k) * h;
                break;
            case AxisKind::Left:
                x = s.labelsPosition - w;
                top = label.position - n * h / 2 + k * h;
                break;
            case AxisKind::Right:
                x = s.labelsPosition;
                top = label.position - n * h / 2 + k * h;
                break;
            case AxisKind::Depth:
                break;
            }
            painter.drawText(x, top + fm.ascent(), lines[k]);
        }
    }
}

void PaintAxisLine(QPainter& painter, const ChartAxis& axis, bool printing) {
    const ChartPen& pen = axis.Axis();
    if (!pen.visible || pen.width <= 0)
        return;
    const AxisScale& s = axis.Scale();
    ChartPen thin = pen;
    thin.width = 1;
    painter.setPen(ToQPen(thin, Black, printing));
    // The line lies inside the plot, its outer pixel on the axis position.
    const int inward = -Outward(axis.Kind());
    for (int k = 0; k < pen.width; ++k) {
        const int at = s.axisPosition + inward * k;
        if (axis.Horizontal())
            painter.drawLine(s.placement.start, at, s.placement.end, at);
        else
            painter.drawLine(at, s.placement.start, at, s.placement.end);
    }
}

void PaintTicks(QPainter& painter, const ChartAxis& axis, const std::vector<int>& at,
                const ChartPen& pen, int length, int direction, bool printing) {
    if (!pen.visible || length <= 0 || at.empty())
        return;
    const AxisScale& s = axis.Scale();
    painter.setPen(ToQPen(pen, Grey, printing));
    const int from = s.axisPosition + direction;
    const int to = s.axisPosition + direction * length;
    for (const int p : at)
        CrossLine(painter, axis.Horizontal(), p, from, to);
}

void PaintGrid(QPainter& painter, const ChartAxis& axis, const std::vector<int>& at,
               const ChartPen& pen, const PlotRect& plot, bool printing) {
    if (!pen.visible || at.empty())
        return;
    const int axisWidth = axis.Axis().visible ? axis.Axis().width : 0;
    int from = 0, to = 0;
    switch (axis.Kind()) {
    case AxisKind::Bottom:
        from = plot.top + 1;
        to = plot.bottom - axisWidth;
        break;
    case AxisKind::Top:
        from = plot.top + axisWidth;
        to = plot.bottom - 1;
        break;
    case AxisKind::Left:
        from = plot.left + axisWidth;
        to = plot.right - 1;
        break;
    case AxisKind::Right:
        from = plot.left + 1;
        to = plot.right - axisWidth;
        break;
    case AxisKind::Depth:
        return;
    }
    if (from > to)
        return;
    painter.save();
    painter.setClipRect(QRect(plot.left, plot.top, plot.Width() + 1, plot.Height() + 1),
                        Qt::IntersectClip);
    painter.setPen(ToQPen(pen, Grey, printing));
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const int p : at)
        CrossLine(painter, axis.Horizontal(), p, from, to);
    painter.restore();
}

void PaintTitle(QPainter& painter, const ChartAxis& axis, bool printing) {
    const AxisTitle& t = axis.Title();
    if (t.caption.isEmpty())
        return;
    const AxisScale& s = axis.Scale();
    const QFont font = ToQFont(t.font);
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(t.caption);
    const int h = fm.height();
    painter.setFont(font);
    painter.setPen(TextColor(t.font, printing));
    const int centre = s.placement.centre;
    painter.save();
    switch (axis.Kind()) {
    case AxisKind::Bottom:
        painter.drawText(centre - w / 2, s.titlePosition + fm.ascent(), t.caption);
        break;
    case AxisKind::Top:
        painter.drawText(centre - w / 2, s.titlePosition - h + fm.ascent(), t.caption);
        break;
    case AxisKind::Left:
        painter.translate(s.titlePosition - h, centre);
        painter.rotate(-90);
        painter.drawText(-w / 2, fm.ascent(), t.caption);
        break;
    case AxisKind::Right:
        painter.translate(s.titlePosition + h, centre);
        painter.rotate(90);
        painter.drawText(-w / 2, fm.ascent(), t.caption);
        break;
    case AxisKind::Depth:
        break;
    }
    painter.restore();
}

} // namespace

void PaintAxis(QPainter& painter, const ChartAxis& axis, const PlotRect& plot, bool printing) {
    const AxisScale& s = axis.Scale();
    if (!s.visible)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    if (axis.Labels())
        PaintLabels(painter, axis, printing);
    PaintAxisLine(painter, axis, printing);
    const int out = Outward(axis.Kind());
    PaintTicks(painter, axis, s.ticks, axis.Ticks(), axis.TickLength(), out, printing);
    PaintGrid(painter, axis, s.gridLines, axis.Grid(), plot, printing);
    PaintTicks(painter, axis, s.ticks, axis.TicksInner(), axis.TickInnerLength(), -out, printing);
    PaintGrid(painter, axis, s.minorTicks, axis.MinorGrid(), plot, printing);
    PaintTicks(painter, axis, s.minorTicks, axis.MinorTicks(), axis.MinorTickLength(), out,
               printing);
    PaintTitle(painter, axis, printing);
    painter.restore();
}

} // namespace velkor::chart
