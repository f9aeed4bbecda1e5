#pragma once
// A window that shows a Chart: paints it in paintEvent, schedules a repaint when the chart
// reports a change, and hands mouse and wheel events to a ChartInteraction: its own
// ZoomScroll unless another handler (or none) is set.

#include "chart/Chart.h"
#include "chart/ChartInteraction.h"
#include "chart/ZoomScroll.h"

#include <QWidget>

namespace velkor::chart {

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(const QString& name = QStringLiteral("Chart1"), QWidget* parent = nullptr);

    velkor::chart::Chart& Chart() { return chart_; }
    const velkor::chart::Chart& Chart() const { return chart_; }

    // Mouse zoom and scrolling, the handler in use from the start.
    velkor::chart::ZoomScroll& ZoomScroll() { return zoomScroll_; }
    const velkor::chart::ZoomScroll& ZoomScroll() const { return zoomScroll_; }

    // Not owned; pass nullptr before the handler goes away, or &ZoomScroll() to go back.
    void SetInteraction(ChartInteraction* interaction) { interaction_ = interaction; }
    ChartInteraction* Interaction() const { return interaction_; }

    QSize sizeHint() const override { return QSize(665, 449); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    velkor::chart::Chart chart_;
    velkor::chart::ZoomScroll zoomScroll_;
    ChartInteraction* interaction_ = &zoomScroll_;
};

} // namespace velkor::chart
