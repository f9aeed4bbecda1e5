#pragma once
// Pens, brushes and fonts as chart properties, and how they become Qt objects. A printed
// paint uses them with its own small differences (see ToQPen).

#include "chart/Color.h"

#include <QFont>
#include <QPen>
#include <QString>

namespace velkor::chart {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };

struct ChartPen {
    Color color = Black;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    bool visible = true;
    bool operator==(const ChartPen&) const = default;
};

enum class BrushStyle { Solid, Clear };

struct ChartBrush {
    Color color = White;
    BrushStyle style = BrushStyle::Solid;
    bool operator==(const ChartBrush&) const = default;
};

struct ChartFont {
    QString name = QStringLiteral("Arial");
    int size = 8; // points
    Color color = Black;
    bool bold = false;
    bool italic = false;
    bool operator==(const ChartFont&) const = default;
};

// The screen resolution the chart is laid out for; a QImage paint and a printed page use the
// same pixel sizes so that they match the screen.
constexpr int LayoutDpi = 96;

QFont ToQFont(const ChartFont& font);

// `fallback` replaces DefaultColor. When printing, a pen that is not solid and one unit wide
// is made cosmetic (one device pixel), so dotted lines stay thin on paper.
QPen ToQPen(const ChartPen& pen, Color fallback, bool printing);

} // namespace velkor::chart
