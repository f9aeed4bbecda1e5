#include "chart/ChartAxis.h"

#include "platform/Errors.h"

#include <utility>

namespace velkor::chart {

ChartAxis::ChartAxis(AxisKind kind, const ChartContext* context) : kind_(kind), context_(context) {
    if (kind == AxisKind::Left)
        title_.angle = 90;
    else if (kind == AxisKind::Right)
        title_.angle = 270;
    scale_.placement.horizontal = Horizontal();
}

void ChartAxis::SetAutomatic(bool on) {
    if (automatic_ == on && automaticMinimum_ == on && automaticMaximum_ == on)
        return;
    automatic_ = automaticMinimum_ = automaticMaximum_ = on;
    Changed();
}

void ChartAxis::SetAutomaticMinimum(bool on) {
    const bool automatic = on ? automatic_ || automaticMaximum_ : false;
    if (automaticMinimum_ == on && automatic_ == automatic)
        return;
    automaticMinimum_ = on;
    automatic_ = automatic;
    Changed();
}

void ChartAxis::SetAutomaticMaximum(bool on) {
    const bool automatic = on ? automatic_ || automaticMinimum_ : false;
    if (automaticMaximum_ == on && automatic_ == automatic)
        return;
    automaticMaximum_ = on;
    automatic_ = automatic;
    Changed();
}

void ChartAxis::SetMinimum(double v) {
    if (!Loading() && v > maximum_)
        throw ChartError("Axis Minimum Value must be <= Maximum");
    Update(minimum_, v);
}

void ChartAxis::SetMaximum(double v) {
    if (!Loading() && v < minimum_)
        throw ChartError("Axis Maximum Value must be >= Minimum");
    Update(maximum_, v);
}

void ChartAxis::SetIncrement(double v) {
    if (v < 0)
        throw ChartError("Axis increment must be >= 0");
    Update(increment_, v);
}

void ChartAxis::AssignRange(double minimum, double maximum) {
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (maximum - minimum < 1e-10)
        maximum = minimum + 1e-10;
    const bool changed = automatic_ || automaticMinimum_ || automaticMaximum_ ||
                         minimum != minimum_ || maximum != maximum_;
    automatic_ = automaticMinimum_ = automaticMaximum_ = false;
    minimum_ = minimum;
    maximum_ = maximum;
    if (changed)
        Changed();
}

int ChartAxis::ValueToPosition(double v) const {
    AxisPlacement p = scale_.placement;
    p.minimum = minimum_;
    p.maximum = maximum_;
    p.range = maximum_ - minimum_;
    return p.ValueToPosition(v);
}

double ChartAxis::PositionToValue(int pixel) const {
    AxisPlacement p = scale_.placement;
    p.minimum = minimum_;
    p.maximum = maximum_;
    p.range = maximum_ - minimum_;
    return p.PositionToValue(pixel);
}

} // namespace velkor::chart
