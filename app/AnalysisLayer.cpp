#include "app/AnalysisLayer.h"

#include "chart/Chart.h"

#include <QPainter>
#include <algorithm>

namespace velkor {

namespace {

const QColor AboveShade(220, 0, 0, 48);
const QColor BelowShade(0, 80, 220, 48);
const QColor LimitColor(160, 0, 160);

} // namespace

AnalysisLayer::~AnalysisLayer() {
    if (shown_ && widget_.Underlay() == this)
        widget_.SetUnderlay(nullptr);
}

void AnalysisLayer::SetShown(bool shown) {
    if (shown == shown_)
        return;
    shown_ = shown;
    widget_.SetUnderlay(shown ? this : nullptr);
}

void AnalysisLayer::SetMarks(AnalysisMarks marks) {
    marks_ = std::move(marks);
    if (shown_)
        widget_.UnderlayChanged();
}

void AnalysisLayer::PaintLayer(QPainter& painter) {
    const chart::Chart& chart = widget_.Chart();
    const chart::PlotRect& plot = chart.LastLayout().plot;
    if (plot.right <= plot.left || plot.bottom <= plot.top)
        return;
    const chart::ChartAxis& time = chart.BottomAxis();
    const chart::ChartAxis& value = chart.LeftAxis();
    painter.save();
    painter.setClipRect(QRect(QPoint(plot.left, plot.top), QPoint(plot.right, plot.bottom)));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    for (const AnalysisMarks::Band& band : marks_.bands) {
        if (band.end + marks_.halfInterval < time.Minimum() ||
            band.start - marks_.halfInterval > time.Maximum())
            continue;
        int left = time.ValueToPosition(band.start - marks_.halfInterval);
        int right = time.ValueToPosition(band.end + marks_.halfInterval);
        left = std::clamp(left, plot.left - 1, plot.right + 1);
        right = std::clamp(right, plot.left - 1, plot.right + 1);
        painter.setBrush(band.side == analysis::Side::Above ? AboveShade : BelowShade);
        // At least one pixel wide, so a single reading shows at any zoom.
        painter.drawRect(QRect(QPoint(left, plot.top), QPoint(std::max(left, right), plot.bottom)));
    }
    if (marks_.limits) {
        QPen pen(LimitColor, 1, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (double limit : {marks_.limits->low, marks_.limits->high}) {
            if (limit < value.Minimum() || limit > value.Maximum())
                continue;
            const int y = value.ValueToPosition(limit);
            painter.drawLine(plot.left, y, plot.right, y);
        }
    }
    painter.restore();
}

} // namespace velkor
