#pragma once
// The legend's settings and its layout: which series it lists, how many columns and rows fit,
// where the box, the symbols and the texts go, and how much of the plot it takes.

#include "chart/ChartContext.h"
#include "chart/ChartStyle.h"
#include "chart/Geometry.h"

#include <QLine>
#include <QPoint>
#include <QString>
#include <vector>

namespace velkor::chart {

enum class LegendAlignment { Left, Right, Top, Bottom };
// Every style lists the series in this engine.
enum class LegendStyle { Auto, Series, Values, LastValues };
enum class LegendTextStyle { Plain, LeftValue, RightValue, LeftPercent, RightPercent, XValue };

class Legend {
public:
    explicit Legend(const ChartContext* context = nullptr) : context_(context) {}

    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Update(visible_, v); }
    LegendAlignment Alignment() const { return alignment_; }
    void SetAlignment(LegendAlignment v) { Update(alignment_, v); }
    chart::LegendStyle LegendStyle() const { return style_; }
    void SetLegendStyle(chart::LegendStyle v) { Update(style_, v); }
    LegendTextStyle TextStyle() const { return textStyle_; }
    // Symbol length in percent of the widest text plus 4 pixels.
    int ColorWidth() const { return colorWidth_; }
    void SetColorWidth(int v) { Update(colorWidth_, v); }
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int v) { Update(shadowSize_, v); }
    Color ShadowColor() const { return shadowColor_; }
    int TopPos() const { return topPos_; }
    void SetTopPos(int v) { Update(topPos_, v); }
    int VertMargin() const { return vertMargin_; }
    void SetVertMargin(int v) { Update(vertMargin_, v); }
    int HorizMargin() const { return horizMargin_; }
    int MaxNumRows() const { return maxNumRows_; }
    bool ResizeChart() const { return resizeChart_; }
    // Lists the items last first.
    bool Inverted() const { return inverted_; }
    void SetInverted(bool v) { Update(inverted_, v); }
    // FirstValue, TextStyle and DividingLines are kept for the configuration; the series
    // legend of this engine does not use them.
    int FirstValue() const { return firstValue_; }
    Color BackColor() const { return color_; }
    void SetBackColor(Color v) { Update(color_, v); }
    const ChartPen& Frame() const { return frame_; }
    const ChartPen& DividingLines() const { return dividingLines_; }
    const ChartFont& Font() const { return font_; }

private:
    template <class T> void Update(T& field, const T& value) {
        UpdateProperty(context_, field, value);
    }

    const ChartContext* context_;
    bool visible_ = true;
    LegendAlignment alignment_ = LegendAlignment::Right;
    chart::LegendStyle style_ = chart::LegendStyle::Auto;
    LegendTextStyle textStyle_ = LegendTextStyle::LeftValue;
    int colorWidth_ = 12;
    int shadowSize_ = 3;
    Color shadowColor_ = Black;
    int topPos_ = 10;
    int vertMargin_ = 0;
    int horizMargin_ = 0;
    int maxNumRows_ = 10;
    bool resizeChart_ = true;
    bool inverted_ = false;
    int firstValue_ = 0;
    Color color_ = White;
    ChartPen frame_{Black, 1, PenStyle::Solid, true};
    ChartPen dividingLines_{Black, 1, PenStyle::Solid, false};
    ChartFont font_;
};

// The text of legend item `index`: the title, else the component name, else "Series " and the
// item's index.
QString LegendItemText(const QString& title, const QString& name, int index);

struct LegendInput {
    LegendAlignment alignment = LegendAlignment::Bottom;
    int colorWidth = 12;
    int shadowSize = 3;
    int topPos = 10;
    int vertMargin = 0;
    int horizMargin = 0;
    int maxNumRows = 10;
    bool resizeChart = true;
    bool frameVisible = true;
    int frameWidth = 1;
    std::vector<int> textWidths; // one per item, in list order
    int fontHeight = 0;
    int chartWidth = 0;  // width of the chart's drawing rectangle
    int chartHeight = 0; // height of the chart's drawing rectangle
};

struct LegendGeometry {
    bool drawn = false;
    int columns = 0;
    int rows = 0;
    int textWidth = 0;          // W: the widest item text
    int symbolLength = 0;       // SL
    PlotRect box;               // the legend box before growing by the frame
    PlotRect frameBox;          // box grown by the frame width: the outline's outer pixels
    PlotRect shadow;            // filled in the shadow colour
    std::vector<QPoint> textAt; // top-left of each drawn item's text
    std::vector<QLine> symbols; // each drawn item's symbol, end pixels included
    PlotRect plot;              // the plot rectangle after the legend took its space
};

LegendGeometry LayoutLegend(const LegendInput& in, const PlotRect& plot);

} // namespace velkor::chart
