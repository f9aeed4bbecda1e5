#include "app/report/ReportChart.h"

#include "app/report/ReportText.h"

#include "app/ChartView.h"
#include "app/Texts.h"
#include "chart/Chart.h"
#include "chart/ChartPrint.h"
#include "log/Sinks.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <vector>

namespace velkor::report {

namespace {

// The size the chart is laid out at: about the window's chart, a little wider.
constexpr QSize LayoutSize(760, 460);
const QColor ShadeColor(255, 214, 214);
constexpr chart::Color LimitColor = chart::Rgb(0, 0, 192);

void Fill(chart::LineSeries& series, const ChartLine& line) {
    for (std::size_t i = 0; i < line.time.size(); ++i)
        series.AddXY(line.time[i], line.value[i]);
}

// A dashed horizontal line across the data's time range, listed in the legend.
void AddLimitLine(chart::Chart& chart, const QString& title, double value, double from, double to) {
    chart::LineSeries& s = chart.AddSeries(title);
    s.SetTitle(title);
    s.SetSeriesColor(LimitColor);
    s.SetLinePen({chart::DefaultColor, 1, chart::PenStyle::Dash, true});
    s.XValues().SetDateTime(true);
    s.XValues().SetOrder(chart::ValueOrder::Ascending);
    s.AddXY(from, value);
    s.AddXY(to, value);
}

// The excursions' spans in the chart's logical pixels, at least one pixel wide, those that
// touch or overlap merged: thousands of excursions make at most one span per pixel column.
std::vector<QRect> ShadedSpans(const chart::Chart& chart, const ReportData& data) {
    const chart::PlotRect plot = chart.LastLayout().plot;
    const chart::AxisPlacement& x = chart.BottomAxis().Scale().placement;
    std::vector<std::pair<int, int>> columns;
    for (const Excursion& e : data.excursions) {
        const int a = std::max(plot.left + 1, x.ValueToPosition(e.start));
        const int b = std::min(plot.right, std::max(a + 1, x.ValueToPosition(e.end)));
        if (a < b)
            columns.emplace_back(a, b);
    }
    std::sort(columns.begin(), columns.end());
    std::vector<QRect> spans;
    int left = 0, right = -1;
    for (const auto& [a, b] : columns) {
        if (right >= a) {
            right = std::max(right, b);
            continue;
        }
        if (right > left)
            spans.emplace_back(left, plot.top + 1, right - left, plot.Height() - 1);
        left = a;
        right = b;
    }
    if (right > left)
        spans.emplace_back(left, plot.top + 1, right - left, plot.Height() - 1);
    return spans;
}

// The shading, then the lines once more over it, clipped to it.
void PaintShading(QPainter& painter, const chart::Chart& chart, const std::vector<QRect>& spans) {
    QRegion region;
    for (const QRect& span : spans) {
        painter.fillRect(span, ShadeColor);
        region += span;
    }
    chart::SeriesView view;
    view.x = chart.BottomAxis().Scale().placement;
    view.y = chart.LeftAxis().Scale().placement;
    view.plot = chart.LastLayout().plot;
    view.printing = true;
    painter.setClipRegion(region);
    for (std::size_t i = 0; i < chart.SeriesCount(); ++i)
        if (chart.Series(i).Active())
            chart::DrawLineSeries(painter, chart.Series(i), view, chart.LineDrawingMode());
}

} // namespace

void PaintReportChart(QPainter& painter, const QRect& rect, const ReportData& data) {
    chart::Chart chart;
    ConfigureChartView(chart, data.language);
    chart.SetBackColor(chart::White);
    chart.Series(TemperatureSeries).SetTitle(TextOf(TextTarget::Series1Title, data.language));
    chart.Series(HumiditySeries).SetTitle(TextOf(TextTarget::Series2Title, data.language));
    Fill(chart.Series(TemperatureSeries), data.celsiusLine);
    Fill(chart.Series(HumiditySeries), data.humidityLine);
    chart.Series(HumiditySeries).SetActive(!data.humidityLine.time.empty());
    if (data.limits && data.last > data.first) {
        AddLimitLine(chart, WordOf(Word::LowLimit, data.language), data.limits->low, data.first,
                     data.last);
        AddLimitLine(chart, WordOf(Word::HighLimit, data.language), data.limits->high, data.first,
                     data.last);
    }
    chart::PaintOnPage(chart, painter, LayoutSize, chart::PlotRect::FromQRect(rect), 0);
    const std::vector<QRect> spans = ShadedSpans(chart, data);
    if (spans.empty())
        return;
    // The same mapping as the page paint: logical pixels stretched onto the rectangle.
    painter.save();
    painter.setWindow(0, 0, LayoutSize.width(), LayoutSize.height());
    painter.setViewport(0, 0, rect.width(), rect.height());
    PaintShading(painter, chart, spans);
    painter.restore();
}

} // namespace velkor::report
