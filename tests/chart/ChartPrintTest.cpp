// Printing the chart: one landscape page in a PDF file (as the print dialog's "print to file"
// does without a printer), the proportional rectangle, the job title, zoomed ranges, the
// orientation restored also after a failure, and the page drawing scaled from screen size.

#include "chart/ChartPrint.h"
#include "platform/Errors.h"
#include "tests/chart/ChartWindow.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::chart;
using namespace velkor::chart::testing;

namespace {

constexpr QRgb Background = qRgb(240, 240, 240);

struct PdfFacts {
    int pages = 0;
    QSizeF mediaBox; // points
    QByteArray raw;
};

PdfFacts ReadPdf(const QString& path) {
    PdfFacts f;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return f;
    f.raw = file.readAll();
    const QString text = QString::fromLatin1(f.raw);
    f.pages = static_cast<int>(
        text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
    const QRegularExpressionMatch m =
        QRegularExpression(
            QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]"))
            .match(text);
    if (m.hasMatch())
        f.mediaBox = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    return f;
}

// The document title as the PDF stores it: UTF-16 with a byte order mark.
QByteArray PdfTitle(const QString& title) {
    QByteArray out("\xfe\xff", 2);
    for (const QChar c : title) {
        out.append(static_cast<char>(c.unicode() >> 8));
        out.append(static_cast<char>(c.unicode() & 0xff));
    }
    return out;
}

bool HaveTool(const char* name) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

// The page rendered by poppler at `dpi`.
QImage RenderPage(const QString& pdf, int dpi) {
    const QString base = pdf + ".page";
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
             QStringLiteral("-singlefile"), pdf, base});
    p.waitForFinished(60000);
    return QImage(base + ".png");
}

QString PageText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The bounding box of the pixels of one colour.
QRect BoxOf(const QImage& image, QRgb colour) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

struct PdfPrinter {
    QTemporaryDir dir;
    QPrinter printer{QPrinter::HighResolution};
    QString path;

    explicit PdfPrinter(const QString& name = QStringLiteral("chart.pdf"))
        : path(dir.filePath(name)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
    }

    // The page rectangle the margins give, in device pixels of the landscape page.
    PlotRect ExpectedRectangle(const ChartWidget& w) {
        printer.setPageOrientation(QPageLayout::Landscape);
        const int pw = printer.width(), ph = printer.height();
        printer.setPageOrientation(QPageLayout::Portrait);
        return PageRectangle(ProportionalMargins(w.width(), w.height(), pw, ph, 1), pw, ph);
    }

    // The same rectangle in pixels of the page rendered at `dpi`.
    QRectF OnRenderedPage(const PlotRect& r, int dpi) {
        printer.setPageOrientation(QPageLayout::Landscape);
        const QRectF printable = printer.pageRect(QPrinter::Point);
        const double k = 72.0 / printer.resolution();
        printer.setPageOrientation(QPageLayout::Portrait);
        const double s = dpi / 72.0;
        return QRectF(
            QPointF((printable.left() + r.left * k) * s, (printable.top() + r.top * k) * s),
            QPointF((printable.left() + r.right * k) * s, (printable.top() + r.bottom * k) * s));
    }
};

// `actual` holds whole pixels; `expected` runs from its left edge to its right edge.
void ExpectNear(const QRect& actual, const QRectF& expected, double tolerance) {
    EXPECT_NEAR(actual.left(), expected.left(), tolerance);
    EXPECT_NEAR(actual.top(), expected.top(), tolerance);
    EXPECT_NEAR(actual.right() + 1, expected.right(), tolerance);
    EXPECT_NEAR(actual.bottom() + 1, expected.bottom(), tolerance);
}

} // namespace

TEST(ChartPrint, OneLandscapePageTitledChart1InTheProportionalRectangle) {
    ChartWindow cw;
    PdfPrinter pdf;
    const PlotRect expected = pdf.ExpectedRectangle(cw.widget);
    PrintLandscape(cw.widget, pdf.printer);

    EXPECT_EQ(pdf.printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(pdf.printer.docName(), "Chart1");
    const PrintMargins& m = cw.chart().PrintSettings().margins;
    EXPECT_EQ(m.left, 15);
    EXPECT_EQ(m.right, 15);
    EXPECT_GT(m.top, 15);
    EXPECT_EQ(m.top, m.bottom);
    // The screen layout is back for the mouse handling.
    EXPECT_EQ(cw.chart().LastLayout().chartRect, cw.widget.rect());

    const PdfFacts f = ReadPdf(pdf.path);
    EXPECT_EQ(f.pages, 1);
    EXPECT_GT(f.mediaBox.width(), f.mediaBox.height());
    EXPECT_TRUE(f.raw.contains(PdfTitle("Chart1")));

    if (!HaveTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const QImage page = RenderPage(pdf.path, 72);

    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());
    // The chart's grey background fills exactly the page rectangle.
    ExpectNear(BoxOf(page, Background), pdf.OnRenderedPage(expected, 72), 1);
}

TEST(ChartPrint, AChartTallerThanWideGetsComputedSideMargins) {
    ChartWindow cw(QSize(300, 500));
    PdfPrinter pdf;
    const PlotRect expected = pdf.ExpectedRectangle(cw.widget);
    PrintLandscape(cw.widget, pdf.printer);
    const PrintMargins& m = cw.chart().PrintSettings().margins;
    EXPECT_EQ(m.top, 15);
    EXPECT_EQ(m.bottom, 15);
    EXPECT_GT(m.left, 15);
    EXPECT_EQ(m.left, m.right);
    EXPECT_EQ(ReadPdf(pdf.path).pages, 1);
    if (!HaveTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    ExpectNear(BoxOf(RenderPage(pdf.path, 72), Background), pdf.OnRenderedPage(expected, 72), 1);
}

TEST(ChartPrint, AZoomedChartPrintsItsZoomedRangesAndStaysZoomed) {
    ChartWindow cw;
    Chart& c = cw.chart();
    const PlotRect p = cw.Plot();
    const QPoint a(p.left + p.Width() / 3, p.top + 20);
    QTest::mousePress(&cw.widget, Qt::LeftButton, Qt::NoModifier, a);
    QTest::mouseRelease(&cw.widget, Qt::LeftButton, Qt::NoModifier, a + QPoint(120, 200));
    cw.Settle();
    ASSERT_TRUE(cw.zoom().Zoomed());
    const Ranges zoomed(c);
    QStringList screenLabels;
    for (const ChartAxis* axis : {&c.BottomAxis(), &c.LeftAxis()})
        for (const AxisLabel& l : axis->Scale().labels)
            screenLabels << LabelLines(l.text);
    ASSERT_GE(screenLabels.size(), 4);

    PdfPrinter pdf;
    PrintLandscape(cw.widget, pdf.printer);
    const Ranges after(c);
    EXPECT_EQ(after.bottomMin, zoomed.bottomMin);
    EXPECT_EQ(after.bottomMax, zoomed.bottomMax);
    EXPECT_EQ(after.leftMin, zoomed.leftMin);
    EXPECT_EQ(after.leftMax, zoomed.leftMax);
    EXPECT_FALSE(c.BottomAxis().Automatic());
    EXPECT_TRUE(cw.zoom().Zoomed());
    EXPECT_TRUE(cw.zoom().SnapshotTaken());

    if (!HaveTool("pdftotext"))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // The page carries the labels of the zoomed screen, the full range's first date not.
    const QString text = PageText(pdf.path);
    for (const QString& label : screenLabels)
        EXPECT_TRUE(text.contains(label)) << label.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("2024-03-05")));
}

TEST(ChartPrint, AFailedJobRestoresTheOrientationAndNamesTheFile) {
    ChartWindow cw;
    PdfPrinter pdf(QStringLiteral("missing-folder/chart.pdf"));
    try {
        PrintLandscape(cw.widget, pdf.printer);
        ADD_FAILURE() << "printing into a missing folder succeeded";
    } catch (const InOutError& e) {
        EXPECT_TRUE(QString::fromStdString(e.what()).contains(pdf.path)) << e.what();
    }
    EXPECT_EQ(pdf.printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_NE(pdf.printer.printerState(), QPrinter::Active);
    EXPECT_EQ(cw.chart().LastLayout().chartRect, cw.widget.rect());
    // A landscape printer stays landscape too.
    pdf.printer.setPageOrientation(QPageLayout::Landscape);
    EXPECT_THROW(PrintLandscape(cw.widget, pdf.printer), InOutError);
    EXPECT_EQ(pdf.printer.pageLayout().orientation(), QPageLayout::Landscape);
}

TEST(ChartPrint, ThePageDrawingScalesTheScreenLayoutAndRestoresThePainter) {
    Chart c;
    ConfigureLoggerChart(c);
    FillLogger(c, 3 * 144, Day(2024, 3, 5, 14, 30), 1.0 / 144);
    const QImage screen = Render(c);
    const int bottomAxis = c.BottomAxis().Scale().axisPosition;
    const PlotRect titleOnScreen = c.LastLayout().titleRect;

    // A page three times the screen size, with a 30-pixel border around the chart.
    QImage page(3 * 665 + 60, 3 * 449 + 60, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const QRect window = painter.window();
    PaintOnPage(c, painter, QSize(665, 449), {30, 30, 30 + 3 * 665, 30 + 3 * 449}, 0);
    EXPECT_EQ(painter.window(), window);
    EXPECT_EQ(painter.viewport(), window);
    EXPECT_FALSE(painter.hasClipping());
    painter.end();

    EXPECT_EQ(BoxOf(page, Background), QRect(30, 30, 3 * 665, 3 * 449));
    // The layout is the screen's, in the same logical pixels.
    EXPECT_EQ(c.BottomAxis().Scale().axisPosition - c.LastLayout().chartRect.top(), bottomAxis);
    // The two-pixel axis line becomes six pixels thick.
    const QRect logical = c.LastLayout().chartRect;
    const int x = 30 + 3 * (c.BottomAxis().Scale().placement.start + 5 - logical.left());
    const int lineRow = 30 + 3 * (c.BottomAxis().Scale().axisPosition - logical.top()) + 1;
    int top = lineRow, bottom = lineRow;
    while (page.pixel(x, top - 1) == qRgb(0, 0, 0))
        --top;
    while (page.pixel(x, bottom + 1) == qRgb(0, 0, 0))
        ++bottom;
    ASSERT_EQ(page.pixel(x, lineRow), qRgb(0, 0, 0));
    EXPECT_NEAR(bottom - top + 1, 6, 1);
    // The title's text is three times as tall.
    auto blueRows = [](const QImage& image, int top, int bottom) {
        int rows = 0;
        for (int y = top; y < bottom; ++y) {
            bool blue = false;
            for (int x = 0; x < image.width() && !blue; ++x) {
                const QColor p = image.pixelColor(x, y);
                blue = p.blue() > 150 && p.red() < 100 && p.green() < 100;
            }
            rows += blue;
        }
        return rows;
    };
    const int onScreen = blueRows(screen, titleOnScreen.top, titleOnScreen.bottom);
    const int onPage = blueRows(page, 30, 30 + 3 * titleOnScreen.bottom);
    EXPECT_GT(onScreen, 4);
    EXPECT_NEAR(onPage, 3 * onScreen, 4);
}
