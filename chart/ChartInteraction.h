#pragma once
// The mouse handling of a chart window (zoom and scroll) plugs in here: ChartWidget forwards
// its mouse and wheel events to the handler it is given and does nothing else with them.

class QMouseEvent;
class QWheelEvent;

namespace velkor::chart {

class ChartWidget;

class ChartInteraction {
public:
    virtual ~ChartInteraction() = default;
    virtual void MousePress(ChartWidget& widget, QMouseEvent& event) = 0;
    virtual void MouseMove(ChartWidget& widget, QMouseEvent& event) = 0;
    virtual void MouseRelease(ChartWidget& widget, QMouseEvent& event) = 0;
    virtual void Wheel(ChartWidget& widget, QWheelEvent& event) = 0;
};

} // namespace velkor::chart
