#pragma once
// One paint's division of an axis: its automatic range from the series, the space it takes
// across the plot, its placement along the plot and its labels and ticks. The results go into
// the axis's AxisScale; the axis maths itself is in AxisSteps, LabelValues and LabelText.

#include "chart/AxisScale.h"
#include "chart/Geometry.h"
#include "chart/LabelText.h"

#include <vector>

namespace velkor::chart {

class ChartAxis;
class LineSeries;

// The extent of one series along an axis, for the automatic range.
struct SeriesExtent {
    bool active = false;
    bool usesAxis = false;
    bool hasPoints = false;
    double minimum = 0;
    double maximum = 0;
};

// The range that the series give an automatic axis: from the active series, or from all when
// no active series uses the axis; 0 to 0 when none has points on it.
void AutomaticRange(const std::vector<SeriesExtent>& series, double& minimum, double& maximum);

// How the series use an axis.
struct AxisUse {
    bool anyActive = false;  // some series of the chart is active
    bool activeUses = false; // some active series uses this axis
    bool dateTime = false;   // the first such series has date-time values on this axis
    const LineSeries* labelSeries = nullptr; // the first such series with point labels
};

bool SeriesUsesAxis(const LineSeries& s, const ChartAxis& axis);
AxisUse UseOfAxis(const ChartAxis& axis, const std::vector<const LineSeries*>& series);

class AxisLayout {
public:
    AxisLayout(ChartAxis& axis, const std::vector<const LineSeries*>& series,
               const NumberSeparators& separators);

    bool Visible() const { return visible_; }
    // Step 2: overwrites Minimum and Maximum of the automatic ends.
    void ComputeRange();
    // Step 4: the pixels the axis takes across the plot (0 when not visible).
    int Space() const;
    // Step 3 and the positions across: places the axis on the final plot rectangle.
    void Place(const PlotRect& plot);
    // Steps 5 to 11: step, label values, texts, positions, ticks, grid and minor ticks.
    void Divide();

    int TickSpace() const;
    int LabelsSpace() const;
    int TitleSpace() const;
    LabelTextSettings TextSettings() const;

private:
    ChartAxis& axis_;
    const std::vector<const LineSeries*>& series_;
    NumberSeparators separators_;
    AxisUse use_;
    bool visible_ = false;
};

} // namespace velkor::chart
