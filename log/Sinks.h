#pragma once
// What the measurement log needs of the window: a place for the points and a progress bar. The
// window implements these; the log operations never touch a widget themselves.

#include <cstdint>

namespace velkor {

// The two series of the chart.
constexpr int TemperatureSeries = 0;
constexpr int HumiditySeries = 1;

// Point colours as 24-bit RGB values with red in the low byte.
constexpr std::uint32_t DownloadTemperatureColor = 0x0000FF; // red
constexpr std::uint32_t DownloadHumidityColor = 0x008000;    // green
// No colour of its own: the point is drawn in its series' colour.
constexpr std::uint32_t DefaultPointColor = 0x20000000;

class PlotSink {
public:
    virtual ~PlotSink() = default;
    // Empties both series.
    virtual void ClearSeries() = 0;
    // Adds a point with an empty label; series is TemperatureSeries or HumiditySeries.
    virtual void AddPoint(int series, double x, double y, std::uint32_t color) = 0;
    // Switches the bottom (time) axis back to automatic scaling.
    virtual void SetBottomAxisAutomatic() = 0;
};

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Shows the bar with minimum 0 and this maximum.
    virtual void ShowProgress(int maximum) = 0;
    // Moves the bar. The download takes no window events while it runs, so an implementation
    // must repaint the bar at once for the user to see it move.
    virtual void SetProgress(int position) = 0;
    virtual void HideProgress() = 0;
};

} // namespace velkor
