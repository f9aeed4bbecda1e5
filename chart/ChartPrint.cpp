#include "chart/ChartPrint.h"

#include "chart/ChartWidget.h"
#include "platform/Errors.h"

#include <QPainter>
#include <QPrinter>
#include <exception>

namespace velkor::chart {

namespace {

QString DeviceName(const QPrinter& printer) {
    if (!printer.outputFileName().isEmpty())
        return QStringLiteral("the file ") + printer.outputFileName();
    if (!printer.printerName().isEmpty())
        return QStringLiteral("the printer ") + printer.printerName();
    return QStringLiteral("the printer");
}

[[noreturn]] void CannotStart(const QPrinter& printer) {
    throw InOutError(("Cannot start printing on " + DeviceName(printer)).toStdString());
}

[[noreturn]] void JobFailed(const QPrinter& printer) {
    throw InOutError(("Printing on " + DeviceName(printer) + " failed").toStdString());
}

// Puts the printer's orientation back when the print ends, however it ends.
class OrientationGuard {
public:
    explicit OrientationGuard(QPrinter& printer)
        : printer_(printer), saved_(printer.pageLayout().orientation()) {}
    ~OrientationGuard() { printer_.setPageOrientation(saved_); }
    OrientationGuard(const OrientationGuard&) = delete;
    OrientationGuard& operator=(const OrientationGuard&) = delete;

private:
    QPrinter& printer_;
    QPageLayout::Orientation saved_;
};

// Restores the painter's window, viewport and clipping when the page drawing ends.
class PainterState {
public:
    explicit PainterState(QPainter& painter) : painter_(painter) { painter_.save(); }
    ~PainterState() { painter_.restore(); }
    PainterState(const PainterState&) = delete;
    PainterState& operator=(const PainterState&) = delete;

private:
    QPainter& painter_;
};

// One job: begin, draw, end; on an error the job is aborted and the error passed on.
void PrintIntoRectangle(ChartWidget& widget, QPrinter& printer, const PlotRect& rect,
                        QSize layoutSize) {
    Chart& chart = widget.Chart();
    printer.setDocName(widget.objectName().isEmpty() ? chart.Name() : widget.objectName());
    QPainter painter;
    if (!painter.begin(&printer))
        CannotStart(printer);
    try {
        PaintOnPage(chart, painter, layoutSize, rect, chart.PrintSettings().resolution);
        if (printer.printerState() == QPrinter::Error)
            JobFailed(printer);
        if (!painter.end() || printer.printerState() == QPrinter::Error)
            JobFailed(printer);
    } catch (...) {
        printer.abort();
        if (painter.isActive())
            painter.end();
        throw;
    }
}

} // namespace

void PaintOnPage(Chart& chart, QPainter& painter, QSize screen, const PlotRect& rect,
                 int resolution) {
    const PlotRect page = Normalized(rect);
    const QSize logical = LogicalSize(screen, resolution);
    if (page.Width() <= 0 || page.Height() <= 0 || logical.isEmpty())
        return;
    const PlotRect area = LogicalRectangle(page, logical);
    PainterState state(painter);
    // The chart is laid out at its logical (screen) size and stretched onto the page, so
    // fonts, line widths and tick lengths scale with it.
    painter.setWindow(0, 0, logical.width(), logical.height());
    painter.setViewport(0, 0, page.Width(), page.Height());
    painter.setClipRect(area.ToQRect());
    chart.Paint(painter, area.ToQRect(), true);
}

void PrintLandscape(ChartWidget& widget, QPrinter& printer, QSize layoutSize) {
    if (layoutSize.isEmpty())
        layoutSize = widget.size();
    std::exception_ptr error;
    {
        OrientationGuard orientation(printer);
        try {
            printer.setPageOrientation(QPageLayout::Landscape);
            // Device pixels of the printable area, read once the page is landscape.
            const int pageWidth = printer.width(), pageHeight = printer.height();
            PrintSettings& settings = widget.Chart().PrintSettings();
            if (settings.proportional) {
                const double ratio =
                    static_cast<double>(printer.logicalDpiX()) / printer.logicalDpiY();
                settings.margins = ProportionalMargins(layoutSize.width(), layoutSize.height(),
                                                       pageWidth, pageHeight, ratio);
            }
            PrintIntoRectangle(widget, printer,
                               PageRectangle(settings.margins, pageWidth, pageHeight), layoutSize);
        } catch (...) {
            error = std::current_exception();
        }
    }
    // The page's paint replaced the screen layout that the mouse handling reads.
    if (widget.isVisible())
        widget.repaint();
    if (error)
        std::rethrow_exception(error);
}

} // namespace velkor::chart
