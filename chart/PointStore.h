#pragma once
// The points of a series: X and Y values in parallel arrays, kept in ascending X order with
// equal X values in the order they arrived (a stable sort by X of the arrival order).
//
// A point that is not smaller than the last X is appended: one comparison. A point that
// arrives out of order (a file in reverse time order, a late sample) goes to a pending area of
// sorted runs instead of being inserted into the arrays, which would move every later point
// each time. A run grows at either end, so a whole file in reverse order is one run; runs are
// merged when a newer one grows as long as the one before it, which keeps them few. Reading
// the points merges everything pending into the arrays once. Points that all arrive in
// descending order (a whole file in reverse) go straight into the arrays, which a read turns
// round in place.
//
// Colours cost nothing while all points share one; labels cost nothing while all are empty.

#include "chart/Color.h"
#include "chart/GrowBuffer.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velkor::chart {

class PointStore {
public:
    // Stores a point and returns its index in X order. With `ordered` false the point is always
    // appended.
    std::size_t Add(double x, double y, Color color, const QString& label, bool ordered);
    void Clear();

    std::size_t Count() const { return x_.size() + pendingCount_; }

    // The arrays in X order (pending points merged first).
    std::span<const double> X() const;
    std::span<const double> Y() const;
    Color ColorAt(std::size_t i) const;
    QString LabelAt(std::size_t i) const;

    bool HasLabels() const { return hasLabels_; }
    // Some X or Y value is NaN (such values have no place in the order and no extreme).
    bool HasNaN() const { return hasNaN_; }
    // True with `color` set when every point carries the same colour.
    bool UniformColor(Color& color) const;

    // Extremes of all points, kept up to date as points are added; 0 when empty.
    double MinX() const { return Count() ? minX_ : 0; }
    double MaxX() const { return Count() ? maxX_ : 0; }
    double MinY() const { return Count() ? minY_ : 0; }
    double MaxY() const { return Count() ? maxY_ : 0; }

    // Heap bytes held by the points, for the size benchmark.
    std::size_t MemoryBytes() const;

    // Merges what is pending into the arrays; reading does this by itself.
    void Flush() const;

private:
    struct Pending {
        double x;
        double y;
        Color color;
        std::uint32_t label; // index into pendingLabels_, or NoLabel
    };
    // Points in X order; a run grown at its front is stored back to front.
    struct Run {
        std::vector<Pending> items;
        bool reversed = false;
    };
    static constexpr std::uint32_t NoLabel = 0xffffffffu;

    void Append(double x, double y, Color color, const QString& label);
    // Turns arrays held in descending order round.
    void Ascend() const;
    std::size_t CountNotAbove(double x) const;
    void AddPending(const Pending& p);
    bool ExtendLastRun(const Pending& p);
    void MergeLastRuns() const;
    void UseDenseColors() const;
    void UseDenseLabels() const;
    void UpdateExtremes(double x, double y);

    mutable GrowBuffer<double> x_, y_;
    mutable GrowBuffer<Color> colors_;    // only when colours differ
    mutable std::vector<QString> labels_; // only when some label is not empty
    mutable std::vector<Run> runs_;
    mutable std::vector<QString> pendingLabels_;
    mutable std::size_t pendingCount_ = 0;
    // The arrays hold the points in strictly descending X order, as they arrived.
    mutable bool descending_ = false;
    Color firstColor_ = DefaultColor;
    bool mixedColors_ = false;
    bool hasLabels_ = false;
    bool hasNaN_ = false;
    double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
};

} // namespace velkor::chart
