#pragma once
// Zooming and scrolling a chart with the mouse. A left-button drag down and to the right zooms
// both axes to the dragged rectangle, a drag in any other direction returns to the ranges
// before the first zoom or pan, a right-button drag moves the axes with the pointer, and the
// wheel moves the value axes up and down. Axis ranges change only through AssignRange and
// the automatic flags; the next paint shows them. ChartWidget owns one of these and hands it
// its mouse events.

#include "chart/ChartInteraction.h"

#include <QPoint>
#include <Qt>
#include <array>
#include <functional>

namespace velkor::chart {

class Chart;
class ChartAxis;

enum class PanMode { None, Horizontal, Vertical, Both };

// One drag: where it started, where the pointer is now, and whether it is going on.
struct DragRecord {
    QPoint start;
    QPoint end;
    bool active = false;

    void Activate(QPoint at) {
        start = end = at;
        active = true;
    }
    // Makes start the top-left and end the bottom-right corner.
    void Normalize();
};

// The range state of one axis, as a reset restores it.
struct AxisSnapshot {
    bool automatic = true;
    bool automaticMinimum = true;
    bool automaticMaximum = true;
    double minimum = 0;
    double maximum = 0;
};

// A drag must move further than this in both directions to zoom or reset.
constexpr int ZoomThreshold = 16;

class ZoomScroll : public ChartInteraction {
public:
    // Settings.
    bool AllowZoom() const { return allowZoom_; }
    void SetAllowZoom(bool v) { allowZoom_ = v; }
    PanMode AllowPanning() const { return allowPanning_; }
    void SetAllowPanning(PanMode v) { allowPanning_ = v; }
    bool AnimatedZoom() const { return animatedZoom_; }
    void SetAnimatedZoom(bool v) { animatedZoom_ = v; }
    int AnimatedZoomSteps() const { return animatedZoomSteps_; }
    // Each animated step moves an axis end this fraction (1 / factor) of the remaining way.
    double AnimatedZoomFactor() const { return animatedZoomFactor_; }
    Qt::MouseButton ZoomButton() const { return zoomButton_; }
    Qt::MouseButton PanButton() const { return panButton_; }
    // Keys that must be held for a press to start the drag (none by default).
    Qt::KeyboardModifiers ZoomKeys() const { return zoomKeys_; }
    Qt::KeyboardModifiers PanKeys() const { return panKeys_; }
    // The chart's own pointer shape, shown when no series with a cursor is under the pointer.
    Qt::CursorShape ChartCursor() const { return chartCursor_; }
    void SetChartCursor(Qt::CursorShape v) { chartCursor_ = v; }

    // Optional events; none is needed for the behaviour above.
    std::function<void()> OnZoom;     // after a zoom
    std::function<void()> OnUndoZoom; // at a reset
    std::function<void()> OnScroll;   // after a panning step that moved an axis
    // Before a panning step moves `axis` to minimum..maximum: may change the two values, or
    // clear `allow` to keep that axis where it is.
    std::function<void(ChartAxis& axis, double& minimum, double& maximum, bool& allow)>
        OnAllowScroll;

    // State.
    const DragRecord& ZoomRecord() const { return zoom_; }
    const DragRecord& PanRecord() const { return pan_; }
    bool Zoomed() const { return zoomed_; }
    // A snapshot of the ranges is kept from the first zoom or pan until a reset.
    bool SnapshotTaken() const { return !snapshotFree_; }

    // Zooms the axes to the rectangle with corners `start` and `end` (chart pixels).
    void ZoomToRectangle(ChartWidget& widget, QPoint start, QPoint end);
    // Zooms the bottom axis to minimum..maximum (day counts), the value axes left as they are;
    // a reset returns to the ranges before, as after a drag.
    void ZoomTimeRange(ChartWidget& widget, double minimum, double maximum);
    // Returns the axes to the snapshot, if one was taken, and repaints.
    void ResetZoom(ChartWidget& widget);

    void MousePress(ChartWidget& widget, QMouseEvent& event) override;
    void MouseMove(ChartWidget& widget, QMouseEvent& event) override;
    void MouseRelease(ChartWidget& widget, QMouseEvent& event) override;
    void Wheel(ChartWidget& widget, QWheelEvent& event) override;

private:
    void TakeSnapshot(Chart& chart);
    void ZoomToRecord(ChartWidget& widget, DragRecord record);
    void EndZoomDrag(ChartWidget& widget);
    void PanTo(ChartWidget& widget, QPoint at);
    void ShowCursor(ChartWidget& widget, QPoint at) const;

    bool allowZoom_ = true;
    PanMode allowPanning_ = PanMode::Both;
    bool animatedZoom_ = false;
    int animatedZoomSteps_ = 8;
    double animatedZoomFactor_ = 3.0;
    Qt::MouseButton zoomButton_ = Qt::LeftButton;
    Qt::MouseButton panButton_ = Qt::RightButton;
    Qt::KeyboardModifiers zoomKeys_ = Qt::NoModifier;
    Qt::KeyboardModifiers panKeys_ = Qt::NoModifier;
    Qt::CursorShape chartCursor_ = Qt::ArrowCursor;

    DragRecord zoom_;
    DragRecord pan_;
    bool snapshotFree_ = true;
    bool zoomed_ = false;
    std::array<AxisSnapshot, 4> snapshot_; // top, bottom, left, right
    int wheelRest_ = 0;                    // wheel turn short of one notch
};

} // namespace velkor::chart
