#pragma once
// The chart as a picture: an image at its on-screen size that looks exactly as the screen
// (without the hover readout, which is no part of the chart), and files in PNG, SVG or PDF.

#include <QImage>
#include <QString>

namespace velkor::chart {
class ChartWidget;
} // namespace velkor::chart

namespace velkor {

enum class ImageFormat { Png, Svg, Pdf }; // in the order of the save dialog's filters

// The chart painted as the window paints it, at the window's size and pixel ratio.
QImage ChartImage(chart::ChartWidget& widget);

// The format a file name's suffix names (case ignored); `chosen` for any other suffix.
ImageFormat FormatOfName(const QString& fileName, ImageFormat chosen);
// The name with the format's suffix appended unless it already ends in it.
QString WithSuffix(const QString& fileName, ImageFormat format);

// Writes the chart to `fileName`; SVG and PDF are vector pictures of the on-screen size. A file
// that cannot be written raises InOutError with `failureText` followed by the file name.
void SaveChartImage(chart::ChartWidget& widget, const QString& fileName, ImageFormat format,
                    const QString& failureText);

} // namespace velkor
