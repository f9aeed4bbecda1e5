#pragma once
// A line series: points with a date-time X and a plain Y value, drawn as a polyline in the
// series colour, listed in the legend by its title.

#include "chart/ChartContext.h"
#include "chart/ChartStyle.h"
#include "chart/PointStore.h"

#include <QString>
#include <Qt>
#include <cstddef>
#include <optional>
#include <span>

namespace velkor::chart {

enum class ValueOrder { None, Ascending, Descending };

// The metadata of one coordinate of a series, with read access to its values in X order.
class ValueList {
public:
    ValueList(const PointStore& store, bool isX, const ChartContext* const& context)
        : store_(store), isX_(isX), context_(context) {}
    ValueList(const ValueList&) = delete;
    ValueList& operator=(const ValueList&) = delete;

    const QString& Name() const { return name_; }
    void SetName(const QString& v);
    bool DateTime() const { return dateTime_; }
    void SetDateTime(bool v);
    // Ascending keeps the points sorted by this coordinate (X only); None and Descending keep
    // them in the order they were added.
    ValueOrder Order() const { return order_; }
    void SetOrder(ValueOrder v);
    // Values are multiplied by it as they are added.
    double Multiplier() const { return multiplier_; }
    void SetMultiplier(double v);
    // Then this is added to them (a unit conversion: °F = °C × 1.8 + 32).
    double Offset() const { return offset_; }
    void SetOffset(double v);

    std::size_t Count() const { return store_.Count(); }
    // Throws std::out_of_range for an index at or beyond Count().
    double Value(std::size_t i) const;
    double operator[](std::size_t i) const { return Values()[i]; }
    // The values in X order; valid until the next change of the series.
    std::span<const double> Values() const { return isX_ ? store_.X() : store_.Y(); }
    double MinValue() const { return isX_ ? store_.MinX() : store_.MinY(); }
    double MaxValue() const { return isX_ ? store_.MaxX() : store_.MaxY(); }

private:
    void Changed() const {
        if (context_)
            context_->Changed();
    }

    const PointStore& store_;
    bool isX_;
    const ChartContext* const& context_;
    QString name_;
    bool dateTime_ = false;
    ValueOrder order_ = ValueOrder::None;
    double multiplier_ = 1;
    double offset_ = 0;
};

enum class HorizAxis { Bottom, Top, Both };
enum class VertAxis { Left, Right, Both };

class LineSeries {
public:
    explicit LineSeries(const QString& name = {});
    LineSeries(const LineSeries&) = delete;
    LineSeries& operator=(const LineSeries&) = delete;

    // Adds a point in X order (equal X after the points already there) and returns its index.
    int AddXY(double x, double y, const QString& label = {}, Color color = DefaultColor);
    void Clear();
    std::size_t Count() const { return store_.Count(); }

    double XValue(std::size_t i) const { return x_.Value(i); }
    double YValue(std::size_t i) const { return y_.Value(i); }
    // The stored colour of point i (DefaultColor: the series colour) and the colour it is
    // drawn in.
    Color PointColor(std::size_t i) const { return store_.ColorAt(i); }
    Color DrawColor(std::size_t i) const { return Resolve(store_.ColorAt(i), seriesColor_); }
    QString Label(std::size_t i) const { return store_.LabelAt(i); }
    bool HasLabels() const { return store_.HasLabels(); }

    ValueList& XValues() { return x_; }
    const ValueList& XValues() const { return x_; }
    ValueList& YValues() { return y_; }
    const ValueList& YValues() const { return y_; }

    bool Active() const { return active_; }
    void SetActive(bool v);
    const QString& Title() const { return title_; }
    void SetTitle(const QString& v);
    // The component name ("Series1"), the legend's fallback when the title is empty.
    const QString& Name() const { return name_; }
    void SetName(const QString& v) { name_ = v; }
    Color SeriesColor() const { return seriesColor_; }
    void SetSeriesColor(Color v);
    bool ShowInLegend() const { return showInLegend_; }
    // The line pen; its colour is replaced by the point colour when drawing.
    const ChartPen& LinePen() const { return linePen_; }
    // Point markers are not drawn by this engine; the flag is kept for the configuration.
    bool PointerVisible() const { return pointerVisible_; }
    void SetPointerVisible(bool v);
    bool MarksVisible() const { return marksVisible_; }
    void SetMarksVisible(bool v);
    chart::HorizAxis HorizAxis() const { return horizAxis_; }
    chart::VertAxis VertAxis() const { return vertAxis_; }

    // The pointer shape over the series' line; none by default, and then the chart's own.
    const std::optional<Qt::CursorShape>& Cursor() const { return cursor_; }
    void SetCursor(std::optional<Qt::CursorShape> v) { cursor_ = v; }

    const PointStore& Points() const { return store_; }
    std::size_t MemoryBytes() const { return store_.MemoryBytes(); }

    // Set by the chart that owns the series.
    void SetContext(const ChartContext* context) { context_ = context; }

private:
    template <class T> void Update(T& field, const T& value) {
        UpdateProperty(context_, field, value);
    }
    void Changed() const {
        if (context_)
            context_->Changed();
    }

    const ChartContext* context_ = nullptr;
    PointStore store_;
    ValueList x_{store_, true, context_};
    ValueList y_{store_, false, context_};
    QString name_;
    QString title_;
    Color seriesColor_ = Red;
    bool active_ = true;
    bool showInLegend_ = true;
    ChartPen linePen_{DefaultColor, 1, PenStyle::Solid, true};
    bool pointerVisible_ = false;
    bool marksVisible_ = false;
    chart::HorizAxis horizAxis_ = chart::HorizAxis::Bottom;
    chart::VertAxis vertAxis_ = chart::VertAxis::Left;
    std::optional<Qt::CursorShape> cursor_;
};

} // namespace velkor::chart
