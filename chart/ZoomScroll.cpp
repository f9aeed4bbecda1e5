#include "chart/ZoomScroll.h"

#include "chart/ChartHitTest.h"
#include "chart/ChartWidget.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <cstdlib>
#include <utility>

namespace velkor::chart {

namespace {

// One notch of a mouse wheel, in the units of QWheelEvent::angleDelta.
constexpr int WheelNotch = 120;
// A wheel notch moves the value axes by this part of their range.
constexpr double WheelShare = 0.03;

std::array<ChartAxis*, 4> SnapshotAxes(Chart& c) {
    return {&c.TopAxis(), &c.BottomAxis(), &c.LeftAxis(), &c.RightAxis()};
}

bool Held(Qt::KeyboardModifiers pressed, Qt::KeyboardModifiers required) {
    return (pressed & required) == required;
}

} // namespace

void DragRecord::Normalize() {
    if (end.x() < start.x()) {
        const int x = start.x();
        start.setX(end.x());
        end.setX(x);
    }
    if (end.y() < start.y()) {
        const int y = start.y();
        start.setY(end.y());
        end.setY(y);
    }
}

void ZoomScroll::TakeSnapshot(Chart& chart) {
    const std::array<ChartAxis*, 4> axes = SnapshotAxes(chart);
    for (std::size_t k = 0; k < axes.size(); ++k) {
        const ChartAxis& a = *axes[k];
        snapshot_[k] = {a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum(), a.Minimum(),
                        a.Maximum()};
    }
    snapshotFree_ = false;
}

void ZoomScroll::ZoomToRecord(ChartWidget& widget, DragRecord record) {
    record.Normalize();
    Chart& c = widget.Chart();
    struct Target {
        ChartAxis* axis;
        double minimum;
        double maximum;
    };
    // The rectangle's lower edge gives the minimum of a vertical axis.
    ChartAxis& left = c.LeftAxis();
    ChartAxis& right = c.RightAxis();
    ChartAxis& top = c.TopAxis();
    ChartAxis& bottom = c.BottomAxis();
    const std::array<Target, 4> targets = {{
        {&left, left.PositionToValue(record.end.y()), left.PositionToValue(record.start.y())},
        {&right, right.PositionToValue(record.end.y()), right.PositionToValue(record.start.y())},
        {&top, top.PositionToValue(record.start.x()), top.PositionToValue(record.end.x())},
        {&bottom, bottom.PositionToValue(record.start.x()), bottom.PositionToValue(record.end.x())},
    }};
    if (snapshotFree_)
        TakeSnapshot(c);
    if (animatedZoom_ && animatedZoomFactor_ != 0) {
        for (int step = 1; step < animatedZoomSteps_; ++step) {
            for (const Target& t : targets) {
                const double minimum = t.axis->Minimum(), maximum = t.axis->Maximum();
                t.axis->AssignRange(minimum + (t.minimum - minimum) / animatedZoomFactor_,
                                    maximum - (maximum - t.maximum) / animatedZoomFactor_);
            }
            widget.repaint();
        }
    }
    for (const Target& t : targets)
        t.axis->AssignRange(t.minimum, t.maximum);
    zoomed_ = true;
    if (OnZoom)
        OnZoom();
}

void ZoomScroll::ZoomToRectangle(ChartWidget& widget, QPoint start, QPoint end) {
    DragRecord record;
    record.start = start;
    record.end = end;
    ZoomToRecord(widget, record);
    widget.update();
}

void ZoomScroll::ZoomTimeRange(ChartWidget& widget, double minimum, double maximum) {
    Chart& c = widget.Chart();
    if (snapshotFree_)
        TakeSnapshot(c);
    c.BottomAxis().AssignRange(minimum, maximum);
    zoomed_ = true;
    if (OnZoom)
        OnZoom();
    widget.update();
}

void ZoomScroll::ResetZoom(ChartWidget& widget) {
    if (!snapshotFree_) {
        const std::array<ChartAxis*, 4> axes = SnapshotAxes(widget.Chart());
        for (std::size_t k = 0; k < axes.size(); ++k) {
            ChartAxis& a = *axes[k];
            const AxisSnapshot& s = snapshot_[k];
            a.SetAutomatic(s.automatic);
            a.SetAutomaticMinimum(s.automaticMinimum);
            a.SetAutomaticMaximum(s.automaticMaximum);
            if (!a.Automatic())
                a.AssignRange(s.minimum, s.maximum);
        }
        snapshotFree_ = true;
    }
    if (OnUndoZoom)
        OnUndoZoom();
    widget.update();
    zoomed_ = false;
}

void ZoomScroll::EndZoomDrag(ChartWidget& widget) {
    zoom_.active = false;
    widget.Chart().SetZoomRectangle(std::nullopt);
}

void ZoomScroll::MousePress(ChartWidget& widget, QMouseEvent& event) {
    // A drag whose button is no longer held has lost its release to another window; without
    // this the chart would ignore every later press.
    if (zoom_.active && !(event.buttons() & zoomButton_))
        EndZoomDrag(widget);
    if (pan_.active && !(event.buttons() & panButton_))
        pan_.active = false;
    if (zoom_.active || pan_.active)
        return;
    Chart& c = widget.Chart();
    const QPoint at = event.position().toPoint();
    if (!StartsDrag(HitTest(c, at, false)))
        return;
    if (allowZoom_ && event.button() == zoomButton_ && Held(event.modifiers(), zoomKeys_)) {
        widget.setCursor(Qt::ArrowCursor);
        zoom_.Activate(at);
        c.SetZoomRectangle(chart::ZoomDrag{at, at});
    } else if (allowPanning_ != PanMode::None && event.button() == panButton_ &&
               Held(event.modifiers(), panKeys_)) {
        widget.setCursor(Qt::ArrowCursor);
        pan_.Activate(at);
    }
}

void ZoomScroll::MouseMove(ChartWidget& widget, QMouseEvent& event) {
    const QPoint at = event.position().toPoint();
    if (zoom_.active) {
        if (at == zoom_.end)
            return;
        // The rectangle may leave the plot.
        zoom_.end = at;
        widget.Chart().SetZoomRectangle(chart::ZoomDrag{zoom_.start, zoom_.end});
    } else if (pan_.active) {
        PanTo(widget, at);
    } else {
        ShowCursor(widget, at);
    }
}

void ZoomScroll::MouseRelease(ChartWidget& widget, QMouseEvent& event) {
    pan_.active = false;
    if (!zoom_.active || event.button() != zoomButton_)
        return;
    EndZoomDrag(widget);
    zoom_.end = event.position().toPoint();
    const int dx = zoom_.end.x() - zoom_.start.x();
    const int dy = zoom_.end.y() - zoom_.start.y();
    // A short drag is taken for a click and leaves the axes alone.
    if (std::abs(dx) <= ZoomThreshold || std::abs(dy) <= ZoomThreshold)
        return;
    if (dx > 0 && dy > 0)
        ZoomToRecord(widget, zoom_);
    else
        ResetZoom(widget);
    widget.update();
}

void ZoomScroll::PanTo(ChartWidget& widget, QPoint at) {
    Chart& c = widget.Chart();
    if (!InPlot(c.LastLayout().plot, at)) {
        pan_.active = false;
        return;
    }
    if (at == pan_.end)
        return;
    if (snapshotFree_)
        TakeSnapshot(c);
    bool moved = false;
    // The axis moves by the values between the last and the new pointer position, so the
    // curves follow the pointer.
    auto move = [&](ChartAxis& axis, int from, int to) {
        const double delta = axis.PositionToValue(from) - axis.PositionToValue(to);
        double minimum = axis.Minimum() + delta, maximum = axis.Maximum() + delta;
        bool allow = true;
        if (OnAllowScroll)
            OnAllowScroll(axis, minimum, maximum, allow);
        if (!allow)
            return;
        axis.AssignRange(minimum, maximum);
        moved = true;
    };
    const QPoint last = pan_.end;
    if (at.x() != last.x() &&
        (allowPanning_ == PanMode::Horizontal || allowPanning_ == PanMode::Both)) {
        move(c.BottomAxis(), last.x(), at.x());
        move(c.TopAxis(), last.x(), at.x());
    }
    if (at.y() != last.y() &&
        (allowPanning_ == PanMode::Vertical || allowPanning_ == PanMode::Both)) {
        move(c.LeftAxis(), last.y(), at.y());
        move(c.RightAxis(), last.y(), at.y());
    }
    pan_.end = at;
    if (!moved)
        return;
    if (OnScroll)
        OnScroll();
    widget.update();
}

void ZoomScroll::Wheel(ChartWidget& widget, QWheelEvent& event) {
    event.accept();
    // Fine-grained wheels report parts of a notch; they add up to whole notches.
    wheelRest_ += event.angleDelta().y();
    int notches = 0; // toward the user (down) counts positive
    while (wheelRest_ <= -WheelNotch) {
        wheelRest_ += WheelNotch;
        ++notches;
    }
    while (wheelRest_ >= WheelNotch) {
        wheelRest_ -= WheelNotch;
        --notches;
    }
    if (notches == 0)
        return;
    Chart& c = widget.Chart();
    const double sign = notches > 0 ? 1.0 : -1.0;
    for (int k = 0; k < std::abs(notches); ++k) {
        for (ChartAxis* axis : {&c.LeftAxis(), &c.RightAxis()}) {
            const double delta = sign * WheelShare * (axis->Maximum() - axis->Minimum());
            axis->AssignRange(axis->Minimum() + delta, axis->Maximum() + delta);
        }
    }
    widget.repaint();
}

void ZoomScroll::ShowCursor(ChartWidget& widget, QPoint at) const {
    const Chart& c = widget.Chart();
    Qt::CursorShape shape = chartCursor_;
    bool seriesCursor = false;
    for (std::size_t i = 0; i < c.SeriesCount(); ++i)
        seriesCursor = seriesCursor || (c.Series(i).Active() && c.Series(i).Cursor());
    // The line test walks the visible points; spare it while no series has a cursor.
    if (seriesCursor) {
        const ChartHit hit = HitTest(c, at, true);
        if (hit.part == ChartPart::Series && hit.series->Cursor())
            shape = *hit.series->Cursor();
    }
    if (widget.cursor().shape() != shape)
        widget.setCursor(shape);
}

} // namespace velkor::chart
