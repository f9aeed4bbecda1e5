#include "app/ChartView.h"

#include "chart/Chart.h"
#include "chart/ChartOverlay.h"
#include "chart/ChartWidget.h"

#include <QPalette>
#include <QString>
#include <span>
#include <vector>

namespace velkor {

// The log operations and the chart agree on what a colour value means.
static_assert(DefaultPointColor == chart::DefaultColor);
static_assert(DownloadTemperatureColor == chart::Red);
static_assert(DownloadHumidityColor == chart::Green);

namespace {

// The smallest label step of the time axis: one second in days, as the layout stores it.
constexpr double TimeAxisIncrement = 1.1574074074074e-05;

void ConfigureLegend(chart::Legend& legend) {
    legend.SetAlignment(chart::LegendAlignment::Bottom);
    legend.SetLegendStyle(chart::LegendStyle::Series);
    legend.SetColorWidth(15);
    legend.SetShadowSize(2);
    // Centred below the plot.
    legend.SetTopPos(0);
    legend.SetVertMargin(1);
}

// The time axis: every label is the date above the time, down to the minute, on a step of at
// least one second that the engine widens until the labels fit.
void ConfigureTimeAxis(chart::ChartAxis& axis) {
    axis.SetDateTimeFormat(QStringLiteral("yyyy-mm-dd hh:mm"));
    axis.SetLabelsMultiLine(true);
    axis.SetLabelsSize(30);
    axis.SetIncrement(TimeAxisIncrement);
    axis.SetStartPosition(2);
    axis.SetEndPosition(98);
    axis.SetTickLength(1);
    axis.SetMinorTickLength(1);
}

void ConfigureValueAxis(chart::ChartAxis& axis) {
    axis.SetStartPosition(10);
    axis.SetEndPosition(90);
    axis.SetTickLength(3);
}

} // namespace

void ConfigureSeries(chart::LineSeries& series, std::uint32_t color) {
    series.SetSeriesColor(color);
    series.SetPointerVisible(false);
    series.SetMarksVisible(false);
    chart::ValueList& x = series.XValues();
    x.SetName(QStringLiteral("X"));
    x.SetDateTime(true);
    x.SetMultiplier(1);
    x.SetOrder(chart::ValueOrder::Ascending);
    chart::ValueList& y = series.YValues();
    y.SetName(QStringLiteral("Y"));
    y.SetDateTime(false);
    y.SetMultiplier(1);
    y.SetOrder(chart::ValueOrder::None);
}

namespace {

chart::NumberSeparators SeparatorsFor(Language language) {
    if (language == Language::Polish)
        return {u',', QChar(0x00A0)};
    return {};
}

} // namespace

void ConfigureChartView(chart::Chart& chart, Language language) {
    chart.SetView3D(false);
    chart.SetMarginLeft(2);
    chart.SetMarginTop(2);
    chart.SetMarginRight(2);
    chart.SetMarginBottom(2);
    chart::BackWall wall = chart.BackWall();
    wall.brush = {chart::White, chart::BrushStyle::Clear};
    chart.SetBackWall(wall);
    chart.SetSeparators(SeparatorsFor(language));

    ConfigureLegend(chart.Legend());
    chart.TopAxis().SetVisible(false);
    chart.RightAxis().SetVisible(false);
    ConfigureTimeAxis(chart.BottomAxis());
    ConfigureValueAxis(chart.LeftAxis());

    ConfigureSeries(chart.AddSeries(QStringLiteral("Series1")), chart::Red);
    ConfigureSeries(chart.AddSeries(QStringLiteral("Series2")), chart::Green);
}

chart::ChartWidget* CreateChartView(QWidget* parent, Language language) {
    auto* widget = new chart::ChartWidget(QStringLiteral("Chart1"), parent);
    ConfigureChartView(widget->Chart(), language);
    // The chart's colour is the desktop's button face, as the window's own background.
    const QColor face = widget->palette().color(QPalette::Button);
    widget->Chart().SetBackColor(chart::Rgb(face.red(), face.green(), face.blue()));
    return widget;
}

namespace {

constexpr double FahrenheitScale = 1.8;
constexpr double FahrenheitOffset = 32;

// Converts the series' points from its present unit to multiplier × °C + offset.
void ConvertSeries(chart::LineSeries& series, double multiplier, double offset) {
    chart::ValueList& y = series.YValues();
    if (y.Multiplier() == multiplier && y.Offset() == offset)
        return;
    const double oldMultiplier = y.Multiplier();
    const double oldOffset = y.Offset();
    const std::span<const double> xs = series.XValues().Values();
    const std::span<const double> ys = y.Values();
    struct Point {
        double x, celsius;
        chart::Color color;
        QString label;
    };
    std::vector<Point> points;
    points.reserve(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i)
        points.push_back(
            {xs[i], (ys[i] - oldOffset) / oldMultiplier, series.PointColor(i), series.Label(i)});
    series.Clear();
    y.SetMultiplier(multiplier);
    y.SetOffset(offset);
    for (const Point& p : points)
        series.AddXY(p.x, p.celsius, p.label, p.color);
}

} // namespace

chart::LineSeries& AddDewPointSeries(chart::Chart& chart, Language language) {
    if (HasDewPointSeries(chart))
        return chart.Series(DewPointSeries);
    chart::LineSeries& series = chart.AddSeries(QStringLiteral("Series3"));
    ConfigureSeries(series, chart::Blue);
    series.SetTitle(language == Language::English ? QStringLiteral("Dew point")
                                                  : QStringLiteral("Punkt rosy"));
    const chart::ValueList& temperature = chart.Series(TemperatureSeries).YValues();
    series.YValues().SetMultiplier(temperature.Multiplier());
    series.YValues().SetOffset(temperature.Offset());
    return series;
}

void RemoveDewPointSeries(chart::Chart& chart) {
    if (HasDewPointSeries(chart))
        chart.RemoveSeries(DewPointSeries);
}

bool HasDewPointSeries(const chart::Chart& chart) {
    return chart.SeriesCount() > DewPointSeries;
}

void SetFahrenheit(chart::Chart& chart, bool fahrenheit) {
    const double multiplier = fahrenheit ? FahrenheitScale : 1;
    const double offset = fahrenheit ? FahrenheitOffset : 0;
    ConvertSeries(chart.Series(TemperatureSeries), multiplier, offset);
    if (HasDewPointSeries(chart))
        ConvertSeries(chart.Series(DewPointSeries), multiplier, offset);
    for (std::size_t i = FirstArchiveSeries; i < chart.SeriesCount(); i += 2)
        ConvertSeries(chart.Series(i), multiplier, offset);
}

bool ShowsFahrenheit(const chart::Chart& chart) {
    return chart.Series(TemperatureSeries).YValues().Offset() == FahrenheitOffset;
}

QString SeriesUnit(const chart::Chart& chart, std::size_t series) {
    const bool temperature =
        series == static_cast<std::size_t>(TemperatureSeries) || series == DewPointSeries ||
        (series >= FirstArchiveSeries && (series - FirstArchiveSeries) % 2 == 0);
    if (temperature)
        return ShowsFahrenheit(chart) ? QStringLiteral("°F") : QStringLiteral("°C");
    if (series == static_cast<std::size_t>(HumiditySeries) || series > FirstArchiveSeries)
        return QStringLiteral("%");
    return {};
}

void SetReadoutUnits(chart::ChartOverlay& readout, const chart::Chart& chart) {
    for (std::size_t series = 0; series < FirstArchiveSeries + 2 * MaxArchiveLoggers; ++series)
        readout.SetUnit(series, SeriesUnit(chart, series));
}

void ShowArchiveSeries(chart::Chart& chart, int kind, bool shown) {
    for (std::size_t i = FirstArchiveSeries + static_cast<std::size_t>(kind);
         i < chart.SeriesCount(); i += 2)
        chart.Series(i).SetActive(shown && chart.Series(i).Count() > 0);
}

void ChartPlot::ClearSeries() {
    // The dew point too, when the analysis added it: it belongs to the file being replaced.
    for (std::size_t i = 0; i < chart_.SeriesCount(); ++i)
        chart_.Series(i).Clear();
}

void ChartPlot::AddPoint(int series, double x, double y, std::uint32_t color) {
    chart_.Series(static_cast<std::size_t>(series)).AddXY(x, y, QString(), color);
}

void ChartPlot::SetBottomAxisAutomatic() {
    chart_.BottomAxis().SetAutomatic(true);
}

} // namespace velkor
