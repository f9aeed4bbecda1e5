#pragma once
// Chart1 as the logger tool shows its measurements: the chart's look (title line, flat, small
// margins, clear back wall, legend below the plot, a date-time bottom axis with the date above
// the time, a value axis on the left) and its two line series, temperature (Series1, red) and
// humidity (Series2, green). The texts come from the window's text table.

#include "log/Sinks.h"
#include "messages/Language.h"

#include <QString>
#include <cstddef>
#include <cstdint>

class QWidget;

namespace velkor::chart {
class Chart;
class ChartOverlay;
class ChartWidget;
class LineSeries;
} // namespace velkor::chart

namespace velkor {

// Sets every property the logger tool gives its chart and adds Series1 and Series2 (in that
// order, so that series index 0 is the temperature). The number separators of the axis labels
// follow the language: a decimal comma and a no-break space between thousands in Polish, the
// engine's "." and "," in English.
void ConfigureChartView(chart::Chart& chart, Language language);

// A line series as Series1 and Series2 are set up: time on X, no pointers or marks, `color`.
void ConfigureSeries(chart::LineSeries& series, std::uint32_t color);

// Chart1, a child of `parent` (which owns it), configured as above, its background the button
// colour of the widget's palette.
chart::ChartWidget* CreateChartView(QWidget* parent, Language language);

// The third series the analysis adds: the dew point (blue), "Punkt rosy" ("Dew point").
constexpr std::size_t DewPointSeries = 2;
chart::LineSeries& AddDewPointSeries(chart::Chart& chart, Language language);

// The archived loggers' lines come after the dew point's place, two a logger (temperature,
// then humidity), for at most this many loggers. Shows or hides those of one kind
// (TemperatureSeries or HumiditySeries) that hold points.
constexpr std::size_t FirstArchiveSeries = DewPointSeries + 1;
constexpr int MaxArchiveLoggers = 8;
void ShowArchiveSeries(chart::Chart& chart, int kind, bool shown);
// Removes it, if the chart has it.
void RemoveDewPointSeries(chart::Chart& chart);
bool HasDewPointSeries(const chart::Chart& chart);

// Shows the temperatures (the temperature series, the dew point and the archived loggers'
// temperature lines) in °F or in °C: converts the points the series hold and those added
// later. The data file and the archive stay in °C.
void SetFahrenheit(chart::Chart& chart, bool fahrenheit);
bool ShowsFahrenheit(const chart::Chart& chart);

// The unit of the chart's series ("°C" or "°F", "%"); empty for a series of no known kind.
QString SeriesUnit(const chart::Chart& chart, std::size_t series);
// Gives the readout the units of every series the chart may show.
void SetReadoutUnits(chart::ChartOverlay& readout, const chart::Chart& chart);

// The chart's two series as the log operations fill them. Adding a point only marks the chart
// for redrawing; it is drawn when the window next paints.
class ChartPlot final : public PlotSink {
public:
    explicit ChartPlot(chart::Chart& chart) : chart_(chart) {}

    void ClearSeries() override;
    void AddPoint(int series, double x, double y, std::uint32_t color) override;
    void SetBottomAxisAutomatic() override;

private:
    chart::Chart& chart_;
};

} // namespace velkor
