#include "chart/ChartWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace velkor::chart {

ChartWidget::ChartWidget(const QString& name, QWidget* parent) : QWidget(parent), chart_(name) {
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    chart_.SetChangeCallback([this] { update(); });
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    chart_.Paint(painter, rect());
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
