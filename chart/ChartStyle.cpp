#include "chart/ChartStyle.h"

#include "chart/Rounding.h"

namespace velkor::chart {

QFont ToQFont(const ChartFont& font) {
    QFont f(font.name);
    f.setPixelSize(std::max(1, MulDiv(font.size, LayoutDpi, 72)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

QPen ToQPen(const ChartPen& pen, Color fallback, bool printing) {
    if (!pen.visible || pen.style == PenStyle::Clear)
        return QPen(Qt::NoPen);
    QPen p(ToQColor(Resolve(pen.color, fallback)));
    p.setWidth(pen.width);
    switch (pen.style) {
    case PenStyle::Solid:
        p.setStyle(Qt::SolidLine);
        break;
    case PenStyle::Dash:
        p.setStyle(Qt::DashLine);
        break;
    case PenStyle::Dot:
        p.setStyle(Qt::DotLine);
        break;
    case PenStyle::DashDot:
        p.setStyle(Qt::DashDotLine);
        break;
    case PenStyle::DashDotDot:
        p.setStyle(Qt::DashDotDotLine);
        break;
    case PenStyle::Clear:
        break;
    }
    p.setCapStyle(Qt::SquareCap);
    if (printing && pen.style != PenStyle::Solid && pen.width == 1)
        p.setWidth(0);
    return p;
}

} // namespace velkor::chart
