#pragma once
// The chart: five axes, the legend, the title, the series it owns, and the paint that lays
// all of them out and draws them. A plain object; ChartWidget shows it in a window, and a
// printer or an image can be painted the same way.

#include "chart/ChartAxis.h"
#include "chart/ChartContext.h"
#include "chart/Geometry.h"
#include "chart/LabelText.h"
#include "chart/Legend.h"
#include "chart/LineSeries.h"
#include "chart/PrintLayout.h"
#include "chart/SeriesPainter.h"

#include <QPoint>
#include <QRect>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace velkor::chart {

struct ChartTitle {
    QStringList text;
    ChartFont font{QStringLiteral("Arial"), 8, Blue, false, false};
    bool visible = true;
    bool operator==(const ChartTitle&) const = default;
};

struct BackWall {
    ChartPen pen{Black, 1, PenStyle::Solid, true};
    ChartBrush brush{White, BrushStyle::Solid};
    bool operator==(const BackWall&) const = default;
};

enum class Bevel { None, Raised, Lowered };

struct ZoomDrag {
    QPoint start;
    QPoint end;
    bool operator==(const ZoomDrag&) const = default;
};

// Where the last paint put things, for the zoom and scroll code and for tests.
struct ChartLayout {
    QRect chartRect;    // the rectangle painted into
    PlotRect plot;      // the final plot rectangle
    PlotRect titleRect; // the title lines (empty without a title)
    LegendGeometry legend;
};

class Chart {
public:
    explicit Chart(const QString& name = QStringLiteral("Chart1"));
    Chart(const Chart&) = delete;
    Chart& operator=(const Chart&) = delete;

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }

    ChartAxis& BottomAxis() { return bottom_; }
    ChartAxis& TopAxis() { return top_; }
    ChartAxis& LeftAxis() { return left_; }
    ChartAxis& RightAxis() { return right_; }
    ChartAxis& DepthAxis() { return depth_; }
    const ChartAxis& BottomAxis() const { return bottom_; }
    const ChartAxis& TopAxis() const { return top_; }
    const ChartAxis& LeftAxis() const { return left_; }
    const ChartAxis& RightAxis() const { return right_; }
    const ChartAxis& DepthAxis() const { return depth_; }
    chart::Legend& Legend() { return legend_; }
    const chart::Legend& Legend() const { return legend_; }

    // The chart owns its series; they are drawn and listed in the order they were added.
    LineSeries& AddSeries(const QString& name = {});
    // Removes series i with its points; the later ones move up.
    void RemoveSeries(std::size_t i);
    std::size_t SeriesCount() const { return series_.size(); }
    LineSeries& Series(std::size_t i) { return *series_.at(i); }
    const LineSeries& Series(std::size_t i) const { return *series_.at(i); }

    const ChartTitle& Title() const { return title_; }
    void SetTitle(const ChartTitle& v) { Update(title_, v); }
    void SetTitleText(const QStringList& lines);

    // Margins in percent of the chart's width (left, right) or height (top, bottom).
    int MarginLeft() const { return marginLeft_; }
    void SetMarginLeft(int v) { Update(marginLeft_, v); }
    int MarginTop() const { return marginTop_; }
    void SetMarginTop(int v) { Update(marginTop_, v); }
    int MarginRight() const { return marginRight_; }
    void SetMarginRight(int v) { Update(marginRight_, v); }
    int MarginBottom() const { return marginBottom_; }
    void SetMarginBottom(int v) { Update(marginBottom_, v); }

    // Kept for the configuration; the chart is always drawn flat.
    bool View3D() const { return view3D_; }
    void SetView3D(bool v) { Update(view3D_, v); }
    const chart::BackWall& BackWall() const { return backWall_; }
    void SetBackWall(const chart::BackWall& v) { Update(backWall_, v); }
    Color BackColor() const { return color_; }
    void SetBackColor(Color v) { Update(color_, v); }
    Bevel BevelOuter() const { return bevelOuter_; }
    int BevelWidth() const { return bevelWidth_; }
    const NumberSeparators& Separators() const { return separators_; }
    void SetSeparators(const NumberSeparators& v);

    // How lines with many points per pixel column are drawn; both give the same pixels.
    LineDrawing LineDrawingMode() const { return lineDrawing_; }
    void SetLineDrawingMode(LineDrawing v) { Update(lineDrawing_, v); }

    // How PrintLandscape places the chart on the page; printing does not repaint the screen.
    chart::PrintSettings& PrintSettings() { return print_; }
    const chart::PrintSettings& PrintSettings() const { return print_; }

    // Called when a value changes, once until the next paint: a widget schedules a repaint.
    void SetChangeCallback(std::function<void()> callback);
    // While loading, the axes accept Minimum above Maximum and the like.
    void SetLoading(bool loading) { context_.loading = loading; }

    // The rectangle of a zoom drag, from its start to its end point (corner pixels included),
    // drawn at the end of each paint in not-xor mode; nullopt for none.
    const std::optional<ZoomDrag>& ZoomRectangle() const { return zoomRectangle_; }
    void SetZoomRectangle(const std::optional<ZoomDrag>& r);

    // Lays out and draws the whole chart into `rect`. With `printing` the bevel is left out,
    // white axis fonts are drawn black and thin dotted pens stay one device pixel wide.
    void Paint(QPainter& painter, const QRect& rect, bool printing = false);

    const ChartLayout& LastLayout() const { return layout_; }

private:
    template <class T> void Update(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        context_.Changed();
    }
    void PaintTitle(QPainter& painter, PlotRect& plot);
    void PaintLegend(QPainter& painter, PlotRect& plot, const QRect& rect, bool printing);
    void PaintBevel(QPainter& painter, const QRect& rect);
    void PaintBackWall(QPainter& painter, const PlotRect& plot, bool printing);
    void PaintZoomRectangle(QPainter& painter);

    QString name_;
    std::function<void()> callback_;
    bool repaintRequested_ = false;
    ChartContext context_;
    ChartAxis bottom_{AxisKind::Bottom, &context_};
    ChartAxis top_{AxisKind::Top, &context_};
    ChartAxis left_{AxisKind::Left, &context_};
    ChartAxis right_{AxisKind::Right, &context_};
    ChartAxis depth_{AxisKind::Depth, &context_};
    chart::Legend legend_{&context_};
    std::vector<std::unique_ptr<LineSeries>> series_;
    ChartTitle title_;
    int marginLeft_ = 3, marginTop_ = 4, marginRight_ = 3, marginBottom_ = 4;
    bool view3D_ = true;
    chart::BackWall backWall_;
    Color color_ = ButtonFace;
    Bevel bevelOuter_ = Bevel::Raised;
    int bevelWidth_ = 1;
    NumberSeparators separators_;
    LineDrawing lineDrawing_ = LineDrawing::Reduced;
    std::optional<ZoomDrag> zoomRectangle_;
    chart::PrintSettings print_;
    ChartLayout layout_;
};

} // namespace velkor::chart
