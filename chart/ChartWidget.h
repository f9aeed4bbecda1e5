#pragma once
// A window that shows a Chart: paints it in paintEvent, schedules a repaint when the chart
// reports a change, and hands mouse and wheel events to a ChartInteraction: its own
// ZoomScroll unless another handler (or none) is set. A ChartLayer may draw over the chart on
// screen; the chart is then painted into an image that the layer's own repaints reuse.

#include "chart/Chart.h"
#include "chart/ChartInteraction.h"
#include "chart/ZoomScroll.h"

#include <QImage>
#include <QWidget>

namespace velkor::chart {

// Drawn over the chart on screen only: never part of the chart, its printout or an export.
class ChartLayer {
public:
    virtual ~ChartLayer() = default;
    // Called after the chart is drawn, in widget coordinates.
    virtual void PaintLayer(QPainter& painter) = 0;
    // The widget no longer uses the layer (another was set, or the widget is going away).
    virtual void LayerDetached() {}
};

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(const QString& name = QStringLiteral("Chart1"), QWidget* parent = nullptr);
    ~ChartWidget() override;

    velkor::chart::Chart& Chart() { return chart_; }
    const velkor::chart::Chart& Chart() const { return chart_; }

    // Mouse zoom and scrolling, the handler in use from the start.
    velkor::chart::ZoomScroll& ZoomScroll() { return zoomScroll_; }
    const velkor::chart::ZoomScroll& ZoomScroll() const { return zoomScroll_; }

    // Not owned; pass nullptr before the handler goes away, or &ZoomScroll() to go back.
    void SetInteraction(ChartInteraction* interaction) { interaction_ = interaction; }
    ChartInteraction* Interaction() const { return interaction_; }

    // Not owned; nullptr (the start) paints the chart straight onto the window.
    void SetLayer(ChartLayer* layer);
    ChartLayer* Layer() const { return layer_; }
    // Not owned; drawn over the chart and under the layer, into the same image as the chart, so
    // that the layer's repaints reuse it. nullptr (the start) draws nothing.
    void SetUnderlay(ChartLayer* underlay);
    ChartLayer* Underlay() const { return underlay_; }
    // What the underlay draws changed: the chart is painted again.
    void UnderlayChanged();
    // Repaints `area` at once: the chart as last painted (unless it changed since) and the layer
    // over it. The chart is not painted again, so this costs the same for any number of points.
    void RepaintLayer(const QRect& area);

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
    ChartLayer* layer_ = nullptr;
    ChartLayer* underlay_ = nullptr;
    QImage chartImage_;        // the chart as last painted, while a layer is set
    bool chartChanged_ = true; // the chart reported a change since chartImage_ was painted
    bool layerOnly_ = false;   // the paint under way was asked for by RepaintLayer
};

} // namespace velkor::chart
