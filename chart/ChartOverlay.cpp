#include "chart/ChartOverlay.h"

#include "chart/Chart.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace velkor::chart {

namespace {

// The box's distance from the pointer and its inner margin, in pixels.
constexpr int PointerGap = 12;
constexpr int Padding = 3;

QFont BoxFont() {
    return ToQFont(ChartFont{QStringLiteral("Arial"), 8, Black, false, false});
}

} // namespace

ChartOverlay::ChartOverlay(ChartWidget& widget) : QObject(&widget), widget_(widget) {
    widget_.installEventFilter(this);
    if (QWidget* window = widget_.window(); window != &widget_)
        window->installEventFilter(this);
    widget_.SetLayer(this);
}

ChartOverlay::~ChartOverlay() {
    if (attached_)
        widget_.SetLayer(nullptr);
}

QStringList ChartOverlay::BoxLines() const {
    if (!readout_)
        return {};
    const Chart& c = widget_.Chart();
    QStringList lines{ReadoutTimeText(readout_->time)};
    for (const ReadoutLine& line : readout_->lines) {
        const auto unit = units_.find(line.series);
        lines << ReadoutLineText(c, line, unit == units_.end() ? QString() : unit->second);
    }
    return lines;
}

QRect ChartOverlay::Drawn() const {
    QRect r = box_;
    if (cursorX_ >= 0) {
        const PlotRect& plot = widget_.Chart().LastLayout().plot;
        r |= QRect(cursorX_, plot.top, 1, plot.Height() + 1);
    }
    return r;
}

void ChartOverlay::Place() {
    box_ = QRect();
    cursorX_ = -1;
    if (!readout_)
        return;
    const Chart& c = widget_.Chart();
    const LineSeries& first = c.Series(readout_->lines.front().series);
    cursorX_ = TimeAxisOf(c, first).ValueToPosition(readout_->time);
    const QFontMetrics fm(BoxFont());
    int width = 0;
    const QStringList lines = BoxLines();
    for (const QString& line : lines)
        width = std::max(width, fm.horizontalAdvance(line));
    const QSize size(width + 2 * Padding + 1,
                     static_cast<int>(lines.size()) * fm.height() + 2 * Padding + 1);
    // Below right of the pointer, or on the other side where the chart ends.
    const QRect chartRect = widget_.rect();
    QPoint corner = pointer_ + QPoint(PointerGap, PointerGap);
    if (corner.x() + size.width() > chartRect.right())
        corner.setX(pointer_.x() - PointerGap - size.width());
    if (corner.y() + size.height() > chartRect.bottom())
        corner.setY(pointer_.y() - PointerGap - size.height());
    corner.setX(std::clamp(corner.x(), 0, std::max(0, chartRect.width() - size.width())));
    corner.setY(std::clamp(corner.y(), 0, std::max(0, chartRect.height() - size.height())));
    box_ = QRect(corner, size);
}

void ChartOverlay::MoveTo(QPoint at) {
    const QRect before = Drawn();
    pointer_ = at;
    readout_ = ReadoutAt(widget_.Chart(), at);
    Place();
    const QRect after = Drawn();
    if (!before.isEmpty() || !after.isEmpty())
        widget_.RepaintLayer(before | after);
}

void ChartOverlay::Hide() {
    if (!readout_)
        return;
    const QRect before = Drawn();
    readout_.reset();
    Place();
    widget_.RepaintLayer(before);
}

void ChartOverlay::PaintLayer(QPainter& painter) {
    if (!readout_)
        return;
    // The layout may have changed since the readout was placed (a zoom, a wheel turn).
    Place();
    const Chart& c = widget_.Chart();
    const PlotRect& plot = c.LastLayout().plot;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (cursorX_ >= plot.left && cursorX_ <= plot.right) {
        painter.setPen(QPen(QColor(96, 96, 96), 1));
        painter.drawLine(cursorX_, plot.top, cursorX_, plot.bottom);
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(box_.adjusted(0, 0, -1, -1));
    const QFont font = BoxFont();
    const QFontMetrics fm(font);
    painter.setFont(font);
    const QStringList lines = BoxLines();
    for (int k = 0; k < lines.size(); ++k) {
        QColor colour = Qt::black;
        if (k > 0)
            colour = ToQColor(c.Series(readout_->lines[k - 1].series).SeriesColor());
        painter.setPen(colour);
        painter.drawText(box_.left() + Padding + 1,
                         box_.top() + Padding + k * fm.height() + fm.ascent() + 1, lines[k]);
    }
    painter.restore();
}

bool ChartOverlay::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == &widget_) {
            const auto& e = static_cast<QMouseEvent&>(*event);
            if (e.buttons() == Qt::NoButton)
                MoveTo(e.position().toPoint());
            else
                Hide();
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Leave:
    case QEvent::Hide:
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
        Hide();
        break;
    default:
        break;
    }
    return false;
}

} // namespace velkor::chart
