#include "chart/Chart.h"

#include "chart/AxisLayout.h"
#include "chart/AxisPainter.h"
#include "chart/LegendPainter.h"
#include "chart/Rounding.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdlib>

namespace velkor::chart {

Chart::Chart(const QString& name) : name_(name) {
    context_.changed = [this] {
        if (repaintRequested_)
            return;
        repaintRequested_ = true;
        if (callback_)
            callback_();
    };
}

LineSeries& Chart::AddSeries(const QString& name) {
    series_.push_back(std::make_unique<LineSeries>(name));
    series_.back()->SetContext(&context_);
    context_.Changed();
    return *series_.back();
}

void Chart::RemoveSeries(std::size_t i) {
    series_.erase(series_.begin() + static_cast<std::ptrdiff_t>(i));
    context_.Changed();
}

void Chart::SetTitleText(const QStringList& lines) {
    ChartTitle t = title_;
    t.text = lines;
    SetTitle(t);
}

void Chart::SetSeparators(const NumberSeparators& v) {
    if (v.decimal == separators_.decimal && v.thousands == separators_.thousands)
        return;
    separators_ = v;
    context_.Changed();
}

void Chart::SetChangeCallback(std::function<void()> callback) {
    callback_ = std::move(callback);
    repaintRequested_ = false;
}

void Chart::SetZoomRectangle(const std::optional<ZoomDrag>& r) {
    Update(zoomRectangle_, r);
}

void Chart::PaintBevel(QPainter& painter, const QRect& rect) {
    if (bevelOuter_ == Bevel::None || bevelWidth_ <= 0)
        return;
    const QColor light(255, 255, 255), dark(160, 160, 160);
    const QColor& topLeft = bevelOuter_ == Bevel::Raised ? light : dark;
    const QColor& bottomRight = bevelOuter_ == Bevel::Raised ? dark : light;
    for (int k = 0; k < bevelWidth_; ++k) {
        const int l = rect.left() + k, t = rect.top() + k;
        const int r = rect.left() + rect.width() - 1 - k, b = rect.top() + rect.height() - 1 - k;
        painter.setPen(topLeft);
        painter.drawLine(l, t, r, t);
        painter.drawLine(l, t, l, b);
        painter.setPen(bottomRight);
        painter.drawLine(l, b, r, b);
        painter.drawLine(r, t, r, b);
    }
}

void Chart::PaintTitle(QPainter& painter, PlotRect& plot) {
    layout_.titleRect = {plot.left, plot.top, plot.left, plot.top};
    if (!title_.visible || title_.text.join(QString()).isEmpty())
        return;
    const QFont font = ToQFont(title_.font);
    const QFontMetrics fm(font);
    const int h = fm.height();
    painter.setFont(font);
    painter.setPen(ToQColor(title_.font.color));
    painter.setBackgroundMode(Qt::TransparentMode);
    int widest = 0;
    for (int k = 0; k < title_.text.size(); ++k) {
        const QString& line = title_.text[k];
        const int w = fm.horizontalAdvance(line);
        widest = std::max(widest, w);
        const int x = (plot.left + plot.right) / 2 - w / 2;
        painter.drawText(x, plot.top + k * h + fm.ascent(), line);
    }
    const int lines = static_cast<int>(title_.text.size());
    const int centre = (plot.left + plot.right) / 2;
    layout_.titleRect = {centre - widest / 2, plot.top, centre - widest / 2 + widest,
                         plot.top + lines * h};
    plot.top += lines * h + 5;
}

void Chart::PaintLegend(QPainter& painter, PlotRect& plot, const QRect& rect, bool printing) {
    layout_.legend = LegendGeometry();
    layout_.legend.plot = plot;
    bool anyActive = false;
    for (const auto& s : series_)
        anyActive = anyActive || s->Active();
    if (!legend_.Visible() || !anyActive)
        return;
    const QFontMetrics fm(ToQFont(legend_.Font()));
    LegendInput in;
    std::vector<LegendItem> items;
    for (const auto& s : series_) {
        if (!s->Active() || !s->ShowInLegend())
            continue;
        const QString text = LegendItemText(s->Title(), s->Name(), static_cast<int>(items.size()));
        items.push_back({text, s->SeriesColor(), s->LinePen()});
        in.textWidths.push_back(fm.horizontalAdvance(text));
    }
    if (legend_.Inverted()) {
        std::reverse(items.begin(), items.end());
        std::reverse(in.textWidths.begin(), in.textWidths.end());
    }
    in.alignment = legend_.Alignment();
    in.colorWidth = legend_.ColorWidth();
    in.shadowSize = legend_.ShadowSize();
    in.topPos = legend_.TopPos();
    in.vertMargin = legend_.VertMargin();
    in.horizMargin = legend_.HorizMargin();
    in.maxNumRows = legend_.MaxNumRows();
    in.resizeChart = legend_.ResizeChart();
    in.frameVisible = legend_.Frame().visible;
    in.frameWidth = legend_.Frame().width;
    in.fontHeight = fm.height();
    in.chartWidth = rect.width();
    in.chartHeight = rect.height();
    layout_.legend = LayoutLegend(in, plot);
    chart::PaintLegend(painter, legend_, layout_.legend, items, printing);
    plot = layout_.legend.plot;
}

void Chart::PaintBackWall(QPainter& painter, const PlotRect& plot, bool printing) {
    // From the plot's top-left corner to one pixel beyond its bottom-right corner: the outline
    // runs over the left, top, right and bottom edge pixels.
    const QRect outer(plot.left, plot.top, plot.Width() + 1, plot.Height() + 1);
    if (backWall_.brush.style == BrushStyle::Solid)
        painter.fillRect(outer, ToQColor(backWall_.brush.color));
    const ChartPen& pen = backWall_.pen;
    if (pen.visible && pen.width > 0) {
        painter.setPen(ToQPen(pen, Black, printing));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(plot.left, plot.top, plot.Width(), plot.Height()));
    }
}

void Chart::PaintZoomRectangle(QPainter& painter) {
    if (!zoomRectangle_)
        return;
    painter.save();
    const Color c = color_ == White ? Black : color_;
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(QPen(ToQColor(c), 1));
    painter.setBrush(Qt::NoBrush);
    const QPoint a = zoomRectangle_->start, b = zoomRectangle_->end;
    const int left = std::min(a.x(), b.x()), top = std::min(a.y(), b.y());
    painter.drawRect(QRect(left, top, std::abs(a.x() - b.x()), std::abs(a.y() - b.y())));
    painter.restore();
}

void Chart::Paint(QPainter& painter, const QRect& rect, bool printing) {
    repaintRequested_ = false;
    layout_ = ChartLayout();
    layout_.chartRect = rect;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    painter.fillRect(rect, ToQColor(color_));
    if (!printing)
        PaintBevel(painter, rect);

    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    PlotRect plot{rect.left() + MulDiv(rect.width(), marginLeft_, 100),
                  rect.top() + MulDiv(rect.height(), marginTop_, 100),
                  right - MulDiv(rect.width(), marginRight_, 100),
                  bottom - MulDiv(rect.height(), marginBottom_, 100)};

    PaintTitle(painter, plot);
    PaintLegend(painter, plot, rect, printing);

    std::vector<const LineSeries*> series;
    series.reserve(series_.size());
    for (const auto& s : series_)
        series.push_back(s.get());
    std::array<ChartAxis*, 5> axes = {&bottom_, &top_, &left_, &right_, &depth_};
    std::vector<AxisLayout> layouts;
    layouts.reserve(axes.size());
    for (ChartAxis* axis : axes)
        layouts.emplace_back(*axis, series, separators_);
    for (AxisLayout& l : layouts)
        l.ComputeRange();
    // Each visible axis takes its space on its own side, in axis order.
    plot.bottom -= layouts[0].Space();
    plot.top += layouts[1].Space();
    plot.left += layouts[2].Space();
    plot.right -= layouts[3].Space();
    for (AxisLayout& l : layouts)
        l.Place(plot);
    for (AxisLayout& l : layouts)
        l.Divide();
    layout_.plot = plot;

    PaintBackWall(painter, plot, printing);
    for (int k = 0; k < 4; ++k)
        PaintAxis(painter, *axes[k], plot, printing);

    for (const auto& s : series_) {
        if (!s->Active())
            continue;
        SeriesView view;
        view.x = (s->HorizAxis() == HorizAxis::Top ? top_ : bottom_).Scale().placement;
        view.y = (s->VertAxis() == VertAxis::Right ? right_ : left_).Scale().placement;
        view.plot = plot;
        view.printing = printing;
        DrawLineSeries(painter, *s, view, lineDrawing_);
    }
    PaintZoomRectangle(painter);
    painter.restore();
    repaintRequested_ = false;
}

} // namespace velkor::chart
