#include "chart/AxisLayout.h"

#include "chart/AxisSteps.h"
#include "chart/ChartAxis.h"
#include "chart/LabelValues.h"
#include "chart/LineSeries.h"

#include <QFontMetrics>
#include <algorithm>

namespace velkor::chart {

void AutomaticRange(const std::vector<SeriesExtent>& series, double& minimum, double& maximum) {
    const bool activeUses = std::any_of(
        series.begin(), series.end(), [](const SeriesExtent& s) { return s.active && s.usesAxis; });
    bool first = true;
    minimum = maximum = 0;
    for (const SeriesExtent& s : series) {
        if ((activeUses && !s.active) || !s.usesAxis || !s.hasPoints)
            continue;
        if (first || s.minimum < minimum)
            minimum = s.minimum;
        if (first || s.maximum > maximum)
            maximum = s.maximum;
        first = false;
    }
}

bool SeriesUsesAxis(const LineSeries& s, const ChartAxis& axis) {
    switch (axis.Kind()) {
    case AxisKind::Bottom:
        return s.HorizAxis() != HorizAxis::Top;
    case AxisKind::Top:
        return s.HorizAxis() != HorizAxis::Bottom;
    case AxisKind::Left:
        return s.VertAxis() != VertAxis::Right;
    case AxisKind::Right:
        return s.VertAxis() != VertAxis::Left;
    case AxisKind::Depth:
        return false;
    }
    return false;
}

AxisUse UseOfAxis(const ChartAxis& axis, const std::vector<const LineSeries*>& series) {
    AxisUse u;
    for (const LineSeries* s : series) {
        if (!s->Active())
            continue;
        u.anyActive = true;
        if (!SeriesUsesAxis(*s, axis))
            continue;
        if (!u.activeUses)
            u.dateTime = axis.Horizontal() ? s->XValues().DateTime() : s->YValues().DateTime();
        u.activeUses = true;
        if (!u.labelSeries && s->HasLabels())
            u.labelSeries = s;
    }
    return u;
}

AxisLayout::AxisLayout(ChartAxis& axis, const std::vector<const LineSeries*>& series,
                       const NumberSeparators& separators)
    : axis_(axis), series_(series), separators_(separators), use_(UseOfAxis(axis, series)) {
    visible_ =
        axis.Kind() != AxisKind::Depth && axis.Visible() && (!use_.anyActive || use_.activeUses);
}

void AxisLayout::ComputeRange() {
    const bool horizontal = axis_.Horizontal();
    std::vector<SeriesExtent> extents;
    extents.reserve(series_.size());
    for (const LineSeries* s : series_) {
        const ValueList& v = horizontal ? s->XValues() : s->YValues();
        extents.push_back(
            {s->Active(), SeriesUsesAxis(*s, axis_), s->Count() > 0, v.MinValue(), v.MaxValue()});
    }
    double minimum = 0, maximum = 0;
    AutomaticRange(extents, minimum, maximum);
    if (axis_.automatic_ || axis_.automaticMaximum_)
        axis_.maximum_ = maximum;
    if (axis_.automatic_ || axis_.automaticMinimum_)
        axis_.minimum_ = minimum;
}

LabelTextSettings AxisLayout::TextSettings() const {
    LabelTextSettings t;
    t.dateTime = use_.dateTime;
    t.dateTimeFormat = axis_.dateTimeFormat_;
    t.valuesFormat = axis_.axisValuesFormat_;
    t.separators = separators_;
    t.multiLine = axis_.labelsMultiLine_;
    return t;
}

namespace {

struct TextSize {
    int widest = 0;
    int lines = 0;
};

TextSize Measure(const QFontMetrics& fm, const QString& text) {
    TextSize s;
    const QStringList lines = LabelLines(text);
    s.lines = static_cast<int>(lines.size());
    for (const QString& line : lines)
        s.widest = std::max(s.widest, fm.horizontalAdvance(line));
    return s;
}

bool Sideways(int angle) {
    return angle == 90 || angle == 270;
}

// The label step for an axis `size` pixels long (steps 5 to 7).
double LabelStep(const ChartAxis& axis, const LabelTextSettings& text, bool dateTime, int size) {
    const QFontMetrics fm(ToQFont(axis.LabelsFont()));
    const double range = axis.Maximum() - axis.Minimum();
    int s = 0;
    for (const double v : {axis.Maximum(), axis.Minimum()}) {
        const TextSize t = Measure(fm, LabelText(v, range, text));
        int size1;
        if (axis.Horizontal())
            size1 = Sideways(axis.LabelsAngle()) ? fm.height() * t.lines : t.widest;
        else
            size1 = Sideways(axis.LabelsAngle()) ? t.widest : fm.height() * t.lines;
        s = std::max(s, size1);
    }
    const int fit = LabelsThatFit(size, s, axis.LabelsSeparation());
    return dateTime ? DateTimeLabelStep(range, axis.Increment(), fit)
                    : NumberLabelStep(range, axis.Increment(), fit, axis.LabelsSeparation());
}

} // namespace

int AxisLayout::TickSpace() const {
    int ticks = axis_.ticks_.visible ? axis_.tickLength_ : 0;
    if (axis_.minorTicks_.visible)
        ticks = std::max(ticks, axis_.minorTickLength_);
    return (axis_.axis_.visible ? axis_.axis_.width : 0) + ticks;
}

int AxisLayout::LabelsSpace() const {
    if (!axis_.labels_)
        return 0;
    if (axis_.labelsSize_ != 0)
        return axis_.labelsSize_;
    const QFontMetrics fm(ToQFont(axis_.labelsFont_));
    if (axis_.Horizontal() != Sideways(axis_.labelsAngle_))
        return fm.height();
    const LabelTextSettings text = TextSettings();
    const double step = LabelStep(axis_, text, use_.dateTime, axis_.lastSize_);
    const bool cut = (use_.dateTime && axis_.exactDateTime_) || axis_.roundFirstLabel_;
    const double range = axis_.maximum_ - axis_.minimum_;
    int widest = 0;
    for (double v : {axis_.minimum_, axis_.maximum_}) {
        if (cut && step > 0)
            v = Trunc(v / step) * step;
        widest = std::max(widest, Measure(fm, LabelText(v, range, text)).widest);
    }
    return widest + fm.horizontalAdvance(QChar(u' '));
}

int AxisLayout::TitleSpace() const {
    if (axis_.title_.caption.isEmpty())
        return 0;
    return QFontMetrics(ToQFont(axis_.title_.font)).height();
}

int AxisLayout::Space() const {
    if (!visible_)
        return 0;
    return TitleSpace() + LabelsSpace() + TickSpace();
}

void AxisLayout::Place(const PlotRect& plot) {
    AxisScale& s = axis_.scale_;
    const bool horizontal = axis_.Horizontal();
    s.visible = visible_;
    s.dateTime = use_.dateTime;
    s.placement =
        PlaceAxis(horizontal, axis_.inverted_, axis_.minimum_, axis_.maximum_,
                  horizontal ? plot.left : plot.top, horizontal ? plot.Width() : plot.Height(),
                  axis_.startPosition_, axis_.endPosition_);
    const int ticks = TickSpace(), labels = LabelsSpace();
    const int across = horizontal ? plot.Height() : plot.Width();
    const int offset = RoundToInt(across * axis_.positionPercent_ / 100.0);
    // A position percentage far outside 0..100 moves the axis far off: the positions stop at
    // the pixel limit.
    auto at = [](int from, double by) { return ClampToPixels(from + by); };
    switch (axis_.Kind()) {
    case AxisKind::Bottom:
        s.axisPosition = at(plot.bottom, -static_cast<double>(offset));
        s.labelsPosition = at(s.axisPosition, ticks);
        s.titlePosition = at(s.labelsPosition, labels);
        break;
    case AxisKind::Top:
        s.axisPosition = at(plot.top, offset);
        s.labelsPosition = at(s.axisPosition, -static_cast<double>(ticks));
        s.titlePosition = at(s.labelsPosition, -static_cast<double>(labels));
        break;
    case AxisKind::Left:
        s.axisPosition = at(plot.left, offset);
        s.labelsPosition = at(s.axisPosition, -static_cast<double>(ticks));
        s.titlePosition = at(s.labelsPosition, -static_cast<double>(labels));
        break;
    case AxisKind::Right:
        s.axisPosition = at(plot.right, -static_cast<double>(offset));
        s.labelsPosition = at(s.axisPosition, ticks);
        s.titlePosition = at(s.labelsPosition, labels);
        break;
    case AxisKind::Depth:
        s.axisPosition = s.labelsPosition = s.titlePosition = 0;
        break;
    }
}

void AxisLayout::Divide() {
    AxisScale& s = axis_.scale_;
    s.labels.clear();
    s.ticks.clear();
    s.gridLines.clear();
    s.minorTicks.clear();
    const AxisPlacement& at = s.placement;
    const LabelTextSettings text = TextSettings();
    s.step = LabelStep(axis_, text, use_.dateTime, at.size);
    axis_.lastSize_ = at.size;
    s.stepIndex = DateTimeStepIndex(use_.dateTime, axis_.exactDateTime_, axis_.increment_, s.step);
    if (!visible_)
        return;

    chart::LabelStyle style = axis_.labelStyle_;
    if (style == chart::LabelStyle::Auto)
        style = !use_.activeUses   ? chart::LabelStyle::None
                : use_.labelSeries ? chart::LabelStyle::Text
                                   : chart::LabelStyle::Value;
    if (style == chart::LabelStyle::Text || style == chart::LabelStyle::Mark) {
        // Point labels at their values, along the series' coordinate of this axis.
        if (!use_.labelSeries)
            return;
        const LineSeries& ls = *use_.labelSeries;
        const std::span<const double> values =
            axis_.Horizontal() ? ls.Points().X() : ls.Points().Y();
        std::vector<double> chosen;
        std::vector<QString> texts;
        for (std::size_t i = 0; i < values.size() && chosen.size() < MaxTickPositions; ++i) {
            const QString label = ls.Label(i);
            if (label.isEmpty() || values[i] < at.minimum || values[i] > at.maximum)
                continue;
            chosen.push_back(values[i]);
            texts.push_back(label);
        }
        PlaceLabels(at, chosen, {axis_.labelsOnAxis_, axis_.tickOnLabelsOnly_, axis_.labels_},
                    s.labels, s.ticks);
        for (AxisLabel& l : s.labels) {
            const auto k = std::find(chosen.begin(), chosen.end(), l.value) - chosen.begin();
            l.text = texts[static_cast<std::size_t>(k)];
            if (text.multiLine)
                l.text.replace(u' ', QChar(13));
        }
    } else if (style == chart::LabelStyle::Value) {
        LabelValueInput in;
        in.minimum = at.minimum;
        in.maximum = at.maximum;
        in.step = s.step;
        in.stepIndex = s.stepIndex;
        in.dateTime = use_.dateTime;
        in.exactDateTime = axis_.exactDateTime_;
        in.roundFirstLabel = axis_.roundFirstLabel_;
        PlaceLabels(at, LabelValues(in),
                    {axis_.labelsOnAxis_, axis_.tickOnLabelsOnly_, axis_.labels_}, s.labels,
                    s.ticks);
        for (AxisLabel& l : s.labels)
            l.text = LabelText(l.value, at.range, text);
    }
    s.gridLines = GridPositions(s.ticks, axis_.gridCentered_);
    s.minorTicks = MinorTickPositions(s.ticks, axis_.minorTickCount_, at.start, at.end);
}

} // namespace velkor::chart
