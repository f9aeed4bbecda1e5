#include "app/ChartImage.h"

#include "chart/ChartWidget.h"
#include "platform/Errors.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <array>

namespace velkor {

namespace {

constexpr std::array<const char*, 3> Suffixes = {"png", "svg", "pdf"};

// Pixels of the vector pictures, as the screen counts them.
constexpr int PictureResolution = 96;

[[noreturn]] void Fail(const QString& failureText, const QString& fileName) {
    throw InOutError((failureText + fileName).toStdString());
}

} // namespace

QImage ChartImage(chart::ChartWidget& widget) {
    const qreal ratio = widget.devicePixelRatioF();
    QImage image((QSizeF(widget.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    {
        QPainter painter(&image);
        widget.Chart().Paint(painter, widget.rect());
    }
    return image;
}

ImageFormat FormatOfName(const QString& fileName, ImageFormat chosen) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (std::size_t k = 0; k < Suffixes.size(); ++k)
        if (suffix == QLatin1String(Suffixes[k]))
            return static_cast<ImageFormat>(k);
    return chosen;
}

QString WithSuffix(const QString& fileName, ImageFormat format) {
    const QString suffix = QLatin1String(Suffixes[static_cast<std::size_t>(format)]);
    if (QFileInfo(fileName).suffix().toLower() == suffix)
        return fileName;
    return fileName + u'.' + suffix;
}

void SaveChartImage(chart::ChartWidget& widget, const QString& fileName, ImageFormat format,
                    const QString& failureText) {
    chart::Chart& chart = widget.Chart();
    const QRect rect = widget.rect();
    switch (format) {
    case ImageFormat::Png:
        if (!ChartImage(widget).save(fileName, "PNG"))
            Fail(failureText, fileName);
        break;
    case ImageFormat::Svg: {
        QSvgGenerator svg;
        svg.setFileName(fileName);
        svg.setSize(rect.size());
        svg.setViewBox(rect);
        svg.setResolution(PictureResolution);
        svg.setTitle(chart.Name());
        QPainter painter;
        if (!painter.begin(&svg))
            Fail(failureText, fileName);
        chart.Paint(painter, rect);
        painter.end();
        break;
    }
    case ImageFormat::Pdf: {
        QPdfWriter pdf(fileName);
        pdf.setResolution(PictureResolution);
        pdf.setTitle(chart.Name());
        // One page of the chart's size: a pixel is 1/96 inch, a point 1/72.
        pdf.setPageSize(QPageSize(QSizeF(rect.width() * 0.75, rect.height() * 0.75),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf))
            Fail(failureText, fileName);
        chart.Paint(painter, rect);
        if (!painter.end())
            Fail(failureText, fileName);
        break;
    }
    }
    // The picture's paint replaced the layout the mouse handling reads.
    widget.update();
}

} // namespace velkor
