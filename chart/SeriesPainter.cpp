#include "chart/SeriesPainter.h"

#include "chart/ChartStyle.h"
#include "chart/LineSeries.h"

#include <QLine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace velkor::chart {

namespace {

constexpr int FarLimit = 32766;

bool Drawable(int x, int y) {
    return x >= -FarLimit && x <= FarLimit && y >= -FarLimit && y <= FarLimit;
}

// The value maps by the linear rule rather than falling back to the axis centre.
bool Linear(const AxisPlacement& a, double v) {
    return a.range == 0 || std::fabs((v - a.minimum) * a.size / a.range) < 2147483647.0;
}

// The point where the line enters from the left edge of the plot when the view starts between
// points first - 1 and first.
struct Entry {
    bool present = false;
    int x = 0;
    int y = 0;
};

Entry EntryPoint(const LineSeries& s, const SeriesView& v, const IndexRange& r, double xEdge,
                 int edgePixel) {
    Entry e;
    if (r.empty || r.first == 0 || s.XValues().Order() != ValueOrder::Ascending)
        return e;
    const std::span<const double> xs = s.Points().X();
    const std::span<const double> ys = s.Points().Y();
    const double x0 = xs[r.first - 1], x1 = xs[r.first];
    const double y0 = ys[r.first - 1], y1 = ys[r.first];
    const double y = x1 == x0 ? y0 : y0 + (y1 - y0) * (xEdge - x0) / (x1 - x0);
    e.present = true;
    e.x = edgePixel;
    e.y = v.y.ValueToPosition(y);
    return e;
}

// Calls f(a, b, i) for every segment the rules draw, ending at point i, in drawing order, until
// f returns true; returns whether it did.
template <class F>
bool VisitSegments(const LineSeries& s, const SeriesView& v, const IndexRange& r,
                   const Entry& entry, F&& f) {
    const std::span<const double> xs = s.Points().X();
    const std::span<const double> ys = s.Points().Y();
    bool havePrevious = false;
    QPoint previous;
    for (std::size_t i = r.first; i <= r.last; ++i) {
        const QPoint p(v.x.ValueToPosition(xs[i]), v.y.ValueToPosition(ys[i]));
        if (!Drawable(p.x(), p.y()))
            continue;
        if (!havePrevious)
            previous = p;
        havePrevious = true;
        if (i == r.first) {
            const QPoint e(entry.x, entry.y);
            if (entry.present && e != p && f(e, p, i))
                return true;
        } else if (previous != p && f(previous, p, i)) {
            return true;
        }
        previous = p;
    }
    return false;
}

void DrawEverySegment(QPainter& painter, const LineSeries& s, const SeriesView& v,
                      const IndexRange& r, const Entry& entry) {
    QPen pen = ToQPen(s.LinePen(), s.SeriesColor(), v.printing);
    painter.setBrush(Qt::NoBrush);
    Color current = DefaultColor;
    VisitSegments(s, v, r, entry, [&](QPoint a, QPoint b, std::size_t i) {
        const Color c = s.DrawColor(i);
        if (c != current) {
            current = c;
            pen.setColor(ToQColor(c));
            painter.setPen(pen);
        }
        painter.drawLine(a, b);
        return false;
    });
}

// The colour all visible segments are drawn in, if they share one.
bool SharedColor(const LineSeries& s, const IndexRange& r, Color& color) {
    Color c;
    if (s.Points().UniformColor(c)) {
        color = Resolve(c, s.SeriesColor());
        return true;
    }
    color = s.DrawColor(r.first);
    for (std::size_t i = r.first + 1; i <= r.last; ++i)
        if (s.DrawColor(i) != color)
            return false;
    return true;
}

// Collects the reduced lines: per pixel column the vertical span of its points and the
// segment that joins it to the next column.
class Reducer {
public:
    explicit Reducer(const Entry& entry) : entry_(entry) { lines_.reserve(4096); }

    // Points of one column x, in index order: the first and last y and the extremes.
    // `firstIndex` tells that the run starts at the first visible index.
    void Run(int x, int first, int last, int low, int high, bool firstIndex) {
        if (!started_) {
            started_ = true;
            if (firstIndex && entry_.present && (entry_.x != x || entry_.y != first))
                lines_.emplace_back(entry_.x, entry_.y, x, first);
            Begin(x, first, last, low, high);
            return;
        }
        if (x == column_) {
            last_ = last;
            low_ = std::min(low_, low);
            high_ = std::max(high_, high);
            return;
        }
        EndColumn();
        lines_.emplace_back(column_, last_, x, first);
        Begin(x, first, last, low, high);
    }

    std::vector<QLine>& Finish() {
        if (started_)
            EndColumn();
        started_ = false;
        return lines_;
    }

private:
    void Begin(int x, int first, int last, int low, int high) {
        column_ = x;
        last_ = last;
        low_ = std::min(first, low);
        high_ = std::max(first, high);
    }
    void EndColumn() {
        if (low_ < high_)
            lines_.emplace_back(column_, low_, column_, high_);
    }

    Entry entry_;
    std::vector<QLine> lines_;
    bool started_ = false;
    int column_ = 0, last_ = 0, low_ = 0, high_ = 0;
};

// Any series: every point mapped, far-off points skipped one by one.
void ReducePointByPoint(Reducer& reducer, const double* xs, const double* ys, const SeriesView& v,
                        const IndexRange& r) {
    for (std::size_t i = r.first; i <= r.last; ++i) {
        const int x = v.x.ValueToPosition(xs[i]);
        const int y = v.y.ValueToPosition(ys[i]);
        if (Drawable(x, y))
            reducer.Run(x, y, y, y, y, i == r.first);
    }
}

// A series without NaN whose Y values all map inside the drawable range. Both mappings are
// monotone, so the points of one pixel column form one run of indices, found by searching,
// and the extreme pixels of a run are those of its extreme values.
void ReduceByColumns(Reducer& reducer, const double* xs, const double* ys, const SeriesView& v,
                     const IndexRange& r) {
    const std::size_t end = r.last + 1;
    std::size_t a = r.first;
    while (a < end) {
        const int x = v.x.ValueToPosition(xs[a]);
        // Gallop, then bisect, to the first index of another column.
        std::size_t step = 1, low = a, high = a + 1;
        while (high < end && v.x.ValueToPosition(xs[high]) == x) {
            low = high;
            step *= 2;
            high = std::min(end, a + step);
        }
        while (high - low > 1) {
            const std::size_t mid = low + (high - low) / 2;
            if (v.x.ValueToPosition(xs[mid]) == x)
                low = mid;
            else
                high = mid;
        }
        const std::size_t b = high;
        if (x >= -FarLimit && x <= FarLimit) {
            double lo = ys[a], hi = ys[a];
            for (std::size_t i = a + 1; i < b; ++i) {
                lo = ys[i] < lo ? ys[i] : lo;
                hi = ys[i] > hi ? ys[i] : hi;
            }
            const int p = v.y.ValueToPosition(lo), q = v.y.ValueToPosition(hi);
            reducer.Run(x, v.y.ValueToPosition(ys[a]), v.y.ValueToPosition(ys[b - 1]),
                        std::min(p, q), std::max(p, q), a == r.first);
        }
        a = b;
    }
}

void DrawReduced(QPainter& painter, const LineSeries& s, const SeriesView& v, const IndexRange& r,
                 const Entry& entry, Color color) {
    const PointStore& points = s.Points();
    const double* xs = points.X().data();
    const double* ys = points.Y().data();
    Reducer reducer(entry);
    const int yLow = v.y.ValueToPosition(points.MinY());
    const int yHigh = v.y.ValueToPosition(points.MaxY());
    const bool ordered = s.XValues().Order() == ValueOrder::Ascending;
    const bool linear = Linear(v.y, points.MinY()) && Linear(v.y, points.MaxY()) &&
                        Linear(v.x, xs[r.first]) && Linear(v.x, xs[r.last]);
    if (ordered && linear && !points.HasNaN() && Drawable(0, yLow) && Drawable(0, yHigh))
        ReduceByColumns(reducer, xs, ys, v, r);
    else
        ReducePointByPoint(reducer, xs, ys, v, r);
    std::vector<QLine>& lines = reducer.Finish();
    if (lines.empty())
        return;
    QPen pen = ToQPen(s.LinePen(), s.SeriesColor(), v.printing);
    pen.setColor(ToQColor(color));
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

} // namespace

IndexRange VisibleRange(std::span<const double> x, double xl, double xr) {
    IndexRange r;
    const auto first = std::lower_bound(x.begin(), x.end(), xl);
    if (first == x.end())
        return r;
    r.empty = false;
    r.first = static_cast<std::size_t>(first - x.begin());
    r.last = x.size() - 1;
    if (x.back() > xr) {
        const auto last = std::lower_bound(first, x.end(), xr);
        if (last != x.end())
            r.last = static_cast<std::size_t>(last - x.begin());
    }
    return r;
}

namespace {

// The points to draw and where the line enters from the edge.
struct SeriesPlan {
    IndexRange range;
    Entry entry;
};

SeriesPlan PlanSeries(const LineSeries& s, const SeriesView& v) {
    SeriesPlan plan;
    const PointStore& points = s.Points();
    if (points.Count() == 0)
        return plan;
    const std::span<const double> xs = points.X();
    // The line enters from the edge with the lower X: the left one, the right one on an
    // inverted axis.
    const double xLeft = v.x.PositionToValue(v.plot.left);
    const double xRight = v.x.PositionToValue(v.plot.right);
    const bool leftIsLow = !(xRight < xLeft);
    const int edgePixel = leftIsLow ? v.plot.left : v.plot.right;
    const double xEdge = leftIsLow ? xLeft : xRight;
    const double xFar = leftIsLow ? xRight : xLeft;
    if (s.XValues().Order() == ValueOrder::Ascending) {
        plan.range = VisibleRange(xs, xEdge, xFar);
    } else {
        plan.range.empty = false;
        plan.range.first = 0;
        plan.range.last = xs.size() - 1;
    }
    if (!plan.range.empty)
        plan.entry = EntryPoint(s, v, plan.range, xEdge, edgePixel);
    return plan;
}

} // namespace

void DrawLineSeries(QPainter& painter, const LineSeries& s, const SeriesView& v, LineDrawing mode) {
    const SeriesPlan plan = PlanSeries(s, v);
    const IndexRange& r = plan.range;
    if (r.empty)
        return;
    const Entry& entry = plan.entry;

    painter.save();
    painter.setClipRect(v.plot.ToQRect(), Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const ChartPen& pen = s.LinePen();
    Color color = DefaultColor;
    const bool thinSolid = pen.style == PenStyle::Solid && pen.width <= 1;
    if (mode == LineDrawing::Reduced && thinSolid && SharedColor(s, r, color))
        DrawReduced(painter, s, v, r, entry, color);
    else
        DrawEverySegment(painter, s, v, r, entry);
    painter.restore();
}

bool AnySegment(const LineSeries& s, const SeriesView& v,
                const std::function<bool(QPoint, QPoint)>& test) {
    const SeriesPlan plan = PlanSeries(s, v);
    if (plan.range.empty)
        return false;
    return VisitSegments(s, v, plan.range, plan.entry,
                         [&](QPoint a, QPoint b, std::size_t) { return test(a, b); });
}

} // namespace velkor::chart
