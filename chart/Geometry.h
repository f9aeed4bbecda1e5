#pragma once
// Rectangles as the layout rules use them: left, top, right, bottom in pixels, the width being
// right - left. A fill or a clip covers left..right-1 and top..bottom-1.

#include <QRect>

namespace velkor::chart {

struct PlotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // The pixels left..right-1, top..bottom-1.
    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
    static PlotRect FromQRect(const QRect& r) {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    bool operator==(const PlotRect&) const = default;
};

} // namespace velkor::chart
