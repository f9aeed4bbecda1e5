#include "chart/ChartWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace velkor::chart {

ChartWidget::ChartWidget(const QString& name, QWidget* parent) : QWidget(parent), chart_(name) {
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    chart_.SetChangeCallback([this] {
        chartChanged_ = true;
        update();
    });
}

ChartWidget::~ChartWidget() {
    // Layers are often children of this widget, deleted only after this destructor.
    if (layer_)
        layer_->LayerDetached();
    if (underlay_)
        underlay_->LayerDetached();
}

void ChartWidget::SetUnderlay(ChartLayer* underlay) {
    if (underlay_ && underlay_ != underlay)
        underlay_->LayerDetached();
    underlay_ = underlay;
    UnderlayChanged();
}

void ChartWidget::UnderlayChanged() {
    chartChanged_ = true;
    update();
}

void ChartWidget::SetLayer(ChartLayer* layer) {
    if (layer_ && layer_ != layer)
        layer_->LayerDetached();
    layer_ = layer;
    chartImage_ = QImage();
    update();
}

void ChartWidget::RepaintLayer(const QRect& area) {
    layerOnly_ = true;
    repaint(area);
    layerOnly_ = false;
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!layer_) {
        chart_.Paint(painter, rect());
        if (underlay_)
            underlay_->PaintLayer(painter);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    // Any paint but the layer's own may follow a change the chart did not report (a print
    // replaced its layout, a window was uncovered), so only the layer's reuse the image.
    if (!layerOnly_ || chartChanged_ || chartImage_.size() != pixels) {
        if (chartImage_.size() != pixels)
            chartImage_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        chartImage_.setDevicePixelRatio(ratio);
        chartChanged_ = false;
        QPainter image(&chartImage_);
        chart_.Paint(image, rect());
        if (underlay_)
            underlay_->PaintLayer(image);
    }
    painter.drawImage(0, 0, chartImage_);
    layer_->PaintLayer(painter);
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
    if (interaction_)
        interaction_->MousePress(*this, *event);
    else
        QWidget::mousePressEvent(event);
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
    if (interaction_)
        interaction_->MouseMove(*this, *event);
    else
        QWidget::mouseMoveEvent(event);
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (interaction_)
        interaction_->MouseRelease(*this, *event);
    else
        QWidget::mouseReleaseEvent(event);
}

void ChartWidget::wheelEvent(QWheelEvent* event) {
    if (interaction_)
        interaction_->Wheel(*this, *event);
    else
        QWidget::wheelEvent(event);
}

} // namespace velkor::chart
