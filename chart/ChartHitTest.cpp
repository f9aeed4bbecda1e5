#include "chart/ChartHitTest.h"

#include "chart/Chart.h"

#include <algorithm>
#include <cstdlib>

namespace velkor::chart {

bool OnSegment(QPoint p, QPoint a, QPoint b) {
    const long long dx = b.x() - a.x(), dy = b.y() - a.y();
    const long long cross =
        static_cast<long long>(p.x() - a.x()) * dy - static_cast<long long>(p.y() - a.y()) * dx;
    if (std::llabs(cross) >= std::max(std::llabs(dx), std::llabs(dy)))
        return false;
    return p.x() >= std::min(a.x(), b.x()) && p.x() <= std::max(a.x(), b.x()) &&
           p.y() >= std::min(a.y(), b.y()) && p.y() <= std::max(a.y(), b.y());
}

bool SeriesLineAt(const LineSeries& series, const SeriesView& view, QPoint p) {
    if (!InPlot(view.plot, p))
        return false;
    return AnySegment(series, view, [p](QPoint a, QPoint b) { return OnSegment(p, a, b); });
}

bool AxisStripAt(const ChartAxis& axis, QPoint p) {
    const AxisScale& s = axis.Scale();
    if (!s.visible)
        return false;
    const int along = axis.Horizontal() ? p.x() : p.y();
    const int across = axis.Horizontal() ? p.y() : p.x();
    if (along < s.placement.start || along > s.placement.end)
        return false;
    // Inside the plot is up from the bottom axis, right of the left axis, and so on.
    const bool outwardIsPositive =
        axis.Kind() == AxisKind::Bottom || axis.Kind() == AxisKind::Right;
    const int inward = outwardIsPositive ? -3 : 3;
    const int from = s.axisPosition + inward;
    const int to = s.labelsPosition;
    return across >= std::min(from, to) && across <= std::max(from, to);
}

bool InPlot(const PlotRect& plot, QPoint p) {
    return p.x() >= plot.left && p.x() < plot.right && p.y() >= plot.top && p.y() < plot.bottom;
}

namespace {

bool InBox(const PlotRect& r, QPoint p) {
    return r.Width() > 0 && r.Height() > 0 && InPlot(r, p);
}

} // namespace

ChartHit HitTest(const Chart& chart, QPoint p, bool seriesLines) {
    ChartHit hit;
    const ChartLayout& layout = chart.LastLayout();
    bool anyActive = false;
    for (std::size_t i = 0; i < chart.SeriesCount(); ++i)
        anyActive = anyActive || chart.Series(i).Active();

    if (seriesLines) {
        for (std::size_t i = chart.SeriesCount(); i-- > 0;) {
            const LineSeries& s = chart.Series(i);
            if (!s.Active())
                continue;
            SeriesView view;
            view.x = (s.HorizAxis() == HorizAxis::Top ? chart.TopAxis() : chart.BottomAxis())
                         .Scale()
                         .placement;
            view.y = (s.VertAxis() == VertAxis::Right ? chart.RightAxis() : chart.LeftAxis())
                         .Scale()
                         .placement;
            view.plot = layout.plot;
            if (SeriesLineAt(s, view, p)) {
                hit.part = ChartPart::Series;
                hit.series = &s;
                return hit;
            }
        }
    }
    for (const ChartAxis* axis :
         {&chart.BottomAxis(), &chart.TopAxis(), &chart.LeftAxis(), &chart.RightAxis()}) {
        if (AxisStripAt(*axis, p)) {
            hit.part = ChartPart::Axis;
            hit.axis = axis;
            return hit;
        }
    }
    // This chart has no foot title; ChartPart::Foot is never the answer.
    if (InBox(layout.titleRect, p))
        hit.part = ChartPart::Title;
    else if (anyActive && InPlot(layout.plot, p))
        hit.part = ChartPart::Plot;
    else if (layout.legend.drawn && InBox(layout.legend.frameBox, p))
        hit.part = ChartPart::Legend;
    return hit;
}

bool StartsDrag(const ChartHit& hit) {
    return hit.part == ChartPart::Series || hit.part == ChartPart::Axis ||
           hit.part == ChartPart::Plot;
}

} // namespace velkor::chart
