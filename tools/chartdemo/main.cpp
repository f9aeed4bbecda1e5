// Sample charts configured like the logger tool's chart:
//   chartdemo [folder]                       renders PNG files (default folder /tmp/chartdemo)
//   chartdemo --interactive [--samples N]    shows a chart window to zoom, pan and scroll
//   chartdemo --pdf FILE [--zoomed]          prints the chart window's page into a PDF file
//   chartdemo --help

#include "chart/Chart.h"
#include "chart/ChartPrint.h"
#include "chart/ChartWidget.h"
#include "platform/DateTime.h"

#include "app/ChartView.h"
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <cmath>
#include <cstdio>
#include <exception>

#include <functional>
#include <random>

using namespace velkor;
using namespace velkor::chart;

namespace {

// The chart as the program's window configures it, with the Polish titles.
void Configure(Chart& c) {
    ConfigureChartView(c, Language::Polish);
    c.SetTitleText({QStringLiteral("Wykres temperatury")});
    c.Series(0).SetTitle(QStringLiteral("Temperatura"));
    c.Series(1).SetTitle(QString::fromUtf8("Wilgotno\xc5\x9b\xc4\x87"));
}

double Start() {
    double d = 0;
    TryEncodeDateTime(2024, 3, 5, 14, 30, 0, 0, d);
    return d;
}

// A logger's day: temperature and humidity drifting with the time of day, a little noise.
void Fill(Chart& c, int samples, double intervalDays, unsigned seed = 7) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0, 0.08);
    const double t0 = Start();
    for (int i = 0; i < samples; ++i) {
        const double x = t0 + i * intervalDays;
        const double phase = 2 * M_PI * (x - std::floor(x));
        const double temp = 21 + 2.5 * std::sin(phase - 2) + noise(rng);
        const double hum = 43 - 1.8 * std::sin(phase - 2) + noise(rng);
        c.Series(0).AddXY(x, std::round(temp * 10) / 10, {}, Red);
        c.Series(1).AddXY(x, std::round(hum * 10) / 10, {}, Green);
    }
}

void Render(const QString& folder, const QString& name, const std::function<void(Chart&)>& f) {
    Chart c;
    Configure(c);
    f(c);
    QImage image(665, 449, QImage::Format_RGB32);
    // Twice, as a window does: the first paint has no axis length from before.
    for (int k = 0; k < 2; ++k) {
        QPainter p(&image);
        c.Paint(p, image.rect());
    }
    const QString path = folder + "/" + name + ".png";
    image.save(path);
    std::printf("%s\n", qPrintable(path));
}

// A chart window of the main window's size with three days of ten-minute samples (or
// `samples` of them).
void SetUpWindow(ChartWidget& w, int samples) {
    Configure(w.Chart());
    w.Chart().Series(0).XValues().SetOrder(ValueOrder::Ascending);
    w.Chart().Series(1).XValues().SetOrder(ValueOrder::Ascending);
    Fill(w.Chart(), samples, 1.0 / 144);
    w.resize(665, 449);
    w.setWindowTitle(QStringLiteral("chartdemo"));
}

int Interactive(int samples) {
    ChartWidget w;
    SetUpWindow(w, samples);
    // Printed as they happen, for a look at what a scripted drag did.
    w.ZoomScroll().OnZoom = [] {
        std::printf("zoom\n");
        std::fflush(stdout);
    };
    w.ZoomScroll().OnUndoZoom = [] {
        std::printf("undo zoom\n");
        std::fflush(stdout);
    };
    w.move(0, 0);
    w.show();
    return QApplication::exec();
}

int PrintToPdf(const QString& file, bool zoomed) {
    ChartWidget w;
    SetUpWindow(w, 3 * 144);
    w.show();
    QApplication::processEvents();
    w.repaint();
    if (zoomed) {
        const PlotRect p = w.Chart().LastLayout().plot;
        w.ZoomScroll().ZoomToRectangle(w, QPoint(p.left + p.Width() / 3, p.top + 20),
                                       QPoint(p.left + p.Width() / 2, p.bottom - 20));
        w.repaint();
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    try {
        PrintLandscape(w, printer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}

} // namespace

// Only a window shown by hand needs a display; everything else (the help too) runs offscreen.
bool NeedsDisplay(int argc, char** argv) {
    bool interactive = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == "-h" || a == "--help" || a == "-?" || a == "--help-all")
            return false;
        interactive = interactive || a == "--interactive";
    }
    return interactive;
}

int main(int argc, char** argv) {
    if (!NeedsDisplay(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sample charts configured like the logger tool's chart: PNG files in "
                       "FOLDER, a window to zoom and scroll by hand, or a printed page."));
    parser.addHelpOption();
    const QCommandLineOption interactive(
        QStringLiteral("interactive"),
        QStringLiteral("Show a chart window to zoom, pan and scroll."));
    const QCommandLineOption samples(QStringLiteral("samples"),
                                     QStringLiteral("Samples in the window (default 432)."),
                                     QStringLiteral("N"), QStringLiteral("432"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Print the chart window's page into FILE."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption zoomed(QStringLiteral("zoomed"),
                                    QStringLiteral("With --pdf: zoom in before printing."));
    parser.addOptions({interactive, samples, pdf, zoomed});
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("Where the PNG files go (default /tmp/chartdemo)."),
                                 QStringLiteral("[folder]"));
    parser.process(app); // --help and errors end here

    if (parser.isSet(interactive)) {
        bool ok = false;
        const int count = parser.value(samples).toInt(&ok);
        if (!ok || count < 0) {
            std::fprintf(stderr, "chartdemo: --samples needs a number\n");
            return 1;
        }
        return Interactive(count);
    }
    if (parser.isSet(pdf))
        return PrintToPdf(parser.value(pdf), parser.isSet(zoomed));
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        std::fprintf(stderr, "chartdemo: one folder at most\n");
        return 1;
    }
    const QString folder = positional.isEmpty() ? "/tmp/chartdemo" : positional.first();
    QDir().mkpath(folder);
    Render(folder, "three-days", [](Chart& c) { Fill(c, 3 * 144, 1.0 / 144); });
    Render(folder, "one-day-minutes", [](Chart& c) { Fill(c, 1440, 1.0 / 1440); });
    Render(folder, "two-months", [](Chart& c) { Fill(c, 60 * 24, 1.0 / 24); });
    Render(folder, "one-year", [](Chart& c) { Fill(c, 365 * 4, 0.25); });
    Render(folder, "empty", [](Chart&) {});
    Render(folder, "one-sample", [](Chart& c) { Fill(c, 1, 0); });
    Render(folder, "humidity-hidden", [](Chart& c) {
        Fill(c, 3 * 144, 1.0 / 144);
        c.Series(1).SetActive(false);
    });
    Render(folder, "both-hidden", [](Chart& c) {
        Fill(c, 3 * 144, 1.0 / 144);
        c.Series(0).SetActive(false);
        c.Series(1).SetActive(false);
    });
    Render(folder, "zoomed", [](Chart& c) {
        Fill(c, 3 * 144, 1.0 / 144);
        const double t0 = Start();
        c.BottomAxis().AssignRange(t0 + 0.51 + 0.3 / 144, t0 + 0.9);
        c.LeftAxis().AssignRange(19, 24);
    });
    Render(folder, "million-points", [](Chart& c) { Fill(c, 1000000, 1.0 / 86400); });
    return 0;
}
