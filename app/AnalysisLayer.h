#pragma once
// The analysis drawn on the chart ("Show on chart"): the temperature limits as dashed lines
// across the plot and the excursions as shaded bands over the time they lasted. It is the
// chart widget's underlay: set, it draws into the chart's image over the chart; unset, the
// chart paints exactly as before.

#include "analysis/Rules.h"
#include "chart/ChartWidget.h"

#include <optional>
#include <vector>

namespace velkor {

struct AnalysisMarks {
    std::optional<analysis::Range> limits; // in the chart's temperature unit
    struct Band {
        double start = 0, end = 0; // day counts: from the first reading to the last
        analysis::Side side = analysis::Side::Above;
    };
    std::vector<Band> bands;
    double halfInterval = 0; // in days: each reading stands for one interval
};

class AnalysisLayer final : public chart::ChartLayer {
public:
    explicit AnalysisLayer(chart::ChartWidget& widget) : widget_(widget) {}
    ~AnalysisLayer() override;

    // Shows or hides the marks on the chart.
    void SetShown(bool shown);
    bool Shown() const { return shown_; }
    void SetMarks(AnalysisMarks marks);
    const AnalysisMarks& Marks() const { return marks_; }

    void PaintLayer(QPainter& painter) override;
    void LayerDetached() override { shown_ = false; }

private:
    chart::ChartWidget& widget_;
    AnalysisMarks marks_;
    bool shown_ = false;
};

} // namespace velkor
