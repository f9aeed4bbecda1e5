#pragma once
// One axis of the chart with its published properties. Setting a property to a different
// value tells the chart (one repaint); setting it to its current value does nothing. The
// division of the axis at each paint is done by AxisLayout and kept here as the last scale.

#include "chart/AxisScale.h"
#include "chart/ChartContext.h"
#include "chart/ChartStyle.h"

#include <QString>

namespace velkor::chart {

enum class AxisKind { Bottom, Top, Left, Right, Depth };

enum class LabelStyle { Auto, None, Value, Mark, Text };

struct AxisTitle {
    QString caption;
    ChartFont font;
    int angle = 0;
    bool operator==(const AxisTitle&) const = default;
};

class ChartAxis {
public:
    explicit ChartAxis(AxisKind kind, const ChartContext* context = nullptr);

    AxisKind Kind() const { return kind_; }
    bool Horizontal() const { return kind_ == AxisKind::Bottom || kind_ == AxisKind::Top; }
    // The axis on the far side of the plot (top, right).
    bool OtherSide() const { return kind_ == AxisKind::Top || kind_ == AxisKind::Right; }

    // Range. Automatic sets both automatic ends; an end set to false clears Automatic, an end
    // set to true sets Automatic when the other end is automatic too.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool on);
    bool AutomaticMinimum() const { return automaticMinimum_; }
    void SetAutomaticMinimum(bool on);
    bool AutomaticMaximum() const { return automaticMaximum_; }
    void SetAutomaticMaximum(bool on);
    double Minimum() const { return minimum_; }
    void SetMinimum(double v); // throws ChartError when above Maximum
    double Maximum() const { return maximum_; }
    void SetMaximum(double v); // throws ChartError when below Minimum
    double Increment() const { return increment_; }
    void SetIncrement(double v); // throws ChartError when negative

    // A manual range: clears the automatic flags, swaps reversed ends and widens a range
    // narrower than 1e-10.
    void AssignRange(double minimum, double maximum);

    // Pixel mapping with the current range over the pixel stretch of the last paint.
    int ValueToPosition(double v) const;
    double PositionToValue(int p) const;

    // Labels.
    const QString& DateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const QString& v) { Update(dateTimeFormat_, v); }
    const QString& AxisValuesFormat() const { return axisValuesFormat_; }
    bool ExactDateTime() const { return exactDateTime_; }
    void SetExactDateTime(bool v) { Update(exactDateTime_, v); }
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    void SetRoundFirstLabel(bool v) { Update(roundFirstLabel_, v); }
    bool LabelsMultiLine() const { return labelsMultiLine_; }
    void SetLabelsMultiLine(bool v) { Update(labelsMultiLine_, v); }
    int LabelsSize() const { return labelsSize_; }
    void SetLabelsSize(int v) { Update(labelsSize_, v); }
    int LabelsSeparation() const { return labelsSeparation_; }
    void SetLabelsSeparation(int v) { Update(labelsSeparation_, v); }
    bool LabelsOnAxis() const { return labelsOnAxis_; }
    void SetLabelsOnAxis(bool v) { Update(labelsOnAxis_, v); }
    int LabelsAngle() const { return labelsAngle_; }
    const ChartFont& LabelsFont() const { return labelsFont_; }
    void SetLabelsFont(const ChartFont& v) { Update(labelsFont_, v); }
    bool Labels() const { return labels_; }
    chart::LabelStyle LabelStyle() const { return labelStyle_; }

    // Placement.
    double StartPosition() const { return startPosition_; }
    void SetStartPosition(double v) { Update(startPosition_, v); }
    double EndPosition() const { return endPosition_; }
    void SetEndPosition(double v) { Update(endPosition_, v); }
    double PositionPercent() const { return positionPercent_; }
    void SetPositionPercent(double v) { Update(positionPercent_, v); }

    // Ticks and grid.
    int TickLength() const { return tickLength_; }
    void SetTickLength(int v) { Update(tickLength_, v); }
    int TickInnerLength() const { return tickInnerLength_; }
    int MinorTickLength() const { return minorTickLength_; }
    void SetMinorTickLength(int v) { Update(minorTickLength_, v); }
    int MinorTickCount() const { return minorTickCount_; }
    void SetMinorTickCount(int v) { Update(minorTickCount_, v); }
    bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
    const ChartPen& Grid() const { return grid_; }
    void SetGrid(const ChartPen& v) { Update(grid_, v); }
    const ChartPen& MinorGrid() const { return minorGrid_; }
    const ChartPen& Axis() const { return axis_; }
    void SetAxis(const ChartPen& v) { Update(axis_, v); }
    const ChartPen& Ticks() const { return ticks_; }
    const ChartPen& MinorTicks() const { return minorTicks_; }
    const ChartPen& TicksInner() const { return ticksInner_; }
    bool GridCentered() const { return gridCentered_; }
    void SetGridCentered(bool v) { Update(gridCentered_, v); }

    bool Inverted() const { return inverted_; }
    void SetInverted(bool v) { Update(inverted_, v); }
    // Kept as a property; this engine scales every axis linearly.
    bool Logarithmic() const { return logarithmic_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Update(visible_, v); }
    const AxisTitle& Title() const { return title_; }
    void SetTitle(const AxisTitle& v) { Update(title_, v); }

    // Layout state of the last paint, for the zoom code and for the next paint.
    const AxisScale& Scale() const { return scale_; }

private:
    friend class AxisLayout;

    template <class T> void Update(T& field, const T& value) {
        UpdateProperty(context_, field, value);
    }
    void Changed() const {
        if (context_)
            context_->Changed();
    }
    bool Loading() const { return context_ && context_->loading; }

    AxisKind kind_;
    const ChartContext* context_;

    bool automatic_ = true;
    bool automaticMinimum_ = true;
    bool automaticMaximum_ = true;
    double minimum_ = 0;
    double maximum_ = 0;
    double increment_ = 0;
    QString dateTimeFormat_;
    QString axisValuesFormat_ = QStringLiteral("#,##0.###");
    bool exactDateTime_ = true;
    bool roundFirstLabel_ = true;
    bool labelsMultiLine_ = false;
    int labelsSize_ = 0;
    int labelsSeparation_ = 10;
    bool labelsOnAxis_ = true;
    int labelsAngle_ = 0;
    ChartFont labelsFont_;
    bool labels_ = true;
    chart::LabelStyle labelStyle_ = chart::LabelStyle::Auto;
    double startPosition_ = 0;
    double endPosition_ = 100;
    double positionPercent_ = 0;
    int tickLength_ = 4;
    int tickInnerLength_ = 0;
    int minorTickLength_ = 2;
    int minorTickCount_ = 3;
    bool tickOnLabelsOnly_ = true;
    ChartPen grid_{Grey, 1, PenStyle::Dot, true};
    ChartPen minorGrid_{Grey, 1, PenStyle::Dot, false};
    ChartPen axis_{Black, 2, PenStyle::Solid, true};
    ChartPen ticks_{Grey, 1, PenStyle::Solid, true};
    ChartPen minorTicks_{Grey, 1, PenStyle::Solid, true};
    ChartPen ticksInner_{Grey, 1, PenStyle::Solid, true};
    bool gridCentered_ = false;
    bool inverted_ = false;
    bool logarithmic_ = false;
    bool visible_ = true;
    AxisTitle title_;

    AxisScale scale_;
    int lastSize_ = 0; // the axis length of the previous paint
};

} // namespace velkor::chart
