// Chart1 in the window: its configuration, the check boxes that show and hide a series (seen
// in the painted chart), and the print button printing to a PDF file through the dialog.
#include "LoggerWindow.h"
#include "chart/ChartWidget.h"
#include "tests/support/TempFolder.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace velkor {
namespace {

using chart::ChartAxis;
using velkor::testing::LoggerWindow;

constexpr double Start = 45352.0; // 2024-03-01 00:00

class ChartView : public LoggerWindow {
protected:
    chart::Chart& Chart() { return window->Chart1().Chart(); }

    // A day of ten-minute samples: temperature 20 to 25, humidity 40 to 60.
    void AddDay() {
        for (int i = 0; i <= 144; ++i) {
            const double x = Start + i / 144.0;
            window->AddPoint(Series::Series1, x, 20 + 5.0 * (i % 37) / 36, chart::Red);
            window->AddPoint(Series::Series2, x, 40 + 20.0 * (i % 53) / 52, chart::Green);
        }
    }
    // The chart as the window paints it (twice: the first paint knows no axis length yet).
    QImage Painted() {
        window->Chart1().grab();
        return window->Chart1().grab().toImage();
    }
    static int Count(const QImage& image, QColor color) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == color;
        return n;
    }
};

TEST_F(ChartView, ConfiguredAsTheLoggerToolShowsIt) {
    MainWindow& w = Open();
    chart::ChartWidget& widget = w.Chart1();
    EXPECT_EQ(widget.objectName(), "Chart1");
    EXPECT_EQ(widget.geometry(), QRect(0, 0, 665, 449));
    EXPECT_EQ(w.Widget(Control::Chart1), &widget);
    EXPECT_EQ(widget.Chart().Name(), "Chart1");

    const chart::Chart& c = widget.Chart();
    EXPECT_EQ(c.Title().text, QStringList{"Wykres temperatury"});
    EXPECT_FALSE(c.View3D());
    EXPECT_EQ(c.MarginLeft(), 2);
    EXPECT_EQ(c.MarginTop(), 2);
    EXPECT_EQ(c.MarginRight(), 2);
    EXPECT_EQ(c.MarginBottom(), 2);
    EXPECT_EQ(c.BackWall().brush, (chart::ChartBrush{chart::White, chart::BrushStyle::Clear}));

    const chart::Legend& l = c.Legend();
    EXPECT_EQ(l.Alignment(), chart::LegendAlignment::Bottom);
    EXPECT_EQ(l.LegendStyle(), chart::LegendStyle::Series);
    EXPECT_EQ(l.ColorWidth(), 15);
    EXPECT_EQ(l.ShadowSize(), 2);
    EXPECT_EQ(l.TopPos(), 0);
    EXPECT_EQ(l.VertMargin(), 1);

    EXPECT_FALSE(c.TopAxis().Visible());
    EXPECT_FALSE(c.RightAxis().Visible());
    const ChartAxis& b = c.BottomAxis();
    EXPECT_TRUE(b.Visible());
    EXPECT_EQ(b.DateTimeFormat(), "yyyy-mm-dd hh:mm");
    EXPECT_TRUE(b.LabelsMultiLine());
    EXPECT_EQ(b.LabelsSize(), 30);
    EXPECT_DOUBLE_EQ(b.Increment(), 1.1574074074074e-05);
    EXPECT_TRUE(b.ExactDateTime());
    EXPECT_EQ(b.StartPosition(), 2);
    EXPECT_EQ(b.EndPosition(), 98);
    EXPECT_EQ(b.TickLength(), 1);
    EXPECT_EQ(b.MinorTickLength(), 1);
    EXPECT_TRUE(b.Automatic());
    const ChartAxis& a = c.LeftAxis();
    EXPECT_EQ(a.StartPosition(), 10);
    EXPECT_EQ(a.EndPosition(), 90);
    EXPECT_EQ(a.TickLength(), 3);
    EXPECT_TRUE(a.Automatic());

    ASSERT_EQ(c.SeriesCount(), 2u);
    const struct {
        const char* name;
        const char* title;
        chart::Color color;
    } expected[] = {{"Series1", "Temperatura", chart::Rgb(255, 0, 0)},
                    {"Series2", "Wilgotność", chart::Rgb(0, 128, 0)}};
    for (std::size_t i = 0; i < 2; ++i) {
        const chart::LineSeries& s = c.Series(i);
        EXPECT_EQ(s.Name(), expected[i].name);
        EXPECT_EQ(s.Title(), QString::fromUtf8(expected[i].title));
        EXPECT_EQ(s.SeriesColor(), expected[i].color);
        EXPECT_TRUE(s.Active());
        EXPECT_TRUE(s.ShowInLegend());
        EXPECT_FALSE(s.PointerVisible());
        EXPECT_FALSE(s.MarksVisible());
        EXPECT_EQ(s.XValues().Name(), "X");
        EXPECT_TRUE(s.XValues().DateTime());
        EXPECT_EQ(s.XValues().Order(), chart::ValueOrder::Ascending);
        EXPECT_EQ(s.XValues().Multiplier(), 1);
        EXPECT_EQ(s.YValues().Name(), "Y");
        EXPECT_FALSE(s.YValues().DateTime());
        EXPECT_EQ(s.YValues().Order(), chart::ValueOrder::None);
        EXPECT_EQ(s.YValues().Multiplier(), 1);
        EXPECT_EQ(s.Count(), 0u);
    }
}

TEST_F(ChartView, EnglishTitleIsTheSingleLineChartAndTheLegendIsEnglish) {
    Open(Language::English);
    EXPECT_EQ(Chart().Title().text, QStringList{"Chart"});
    EXPECT_EQ(Chart().Series(0).Title(), "Temperature");
    EXPECT_EQ(Chart().Series(1).Title(), "Humidity");
}

// Value labels use the decimal comma in the Polish window and the point in the English one.
TEST_F(ChartView, ValueLabelsFollowTheLanguagesDecimalSeparator) {
    for (const auto& [language, separator, other] :
         {std::tuple{Language::Polish, ',', '.'}, std::tuple{Language::English, '.', ','}}) {
        Open(language);
        for (int i = 0; i < 10; ++i)
            window->AddPoint(Series::Series1, Start + i / 24.0, 21.0 + i * 0.1, chart::Red);
        window->SetSeriesActive(Series::Series2, false);
        Painted();
        const auto& labels = Chart().LeftAxis().Scale().labels;
        ASSERT_FALSE(labels.empty());
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                [&](const auto& l) { return l.text.contains(separator); }));
        EXPECT_TRUE(std::none_of(labels.begin(), labels.end(),
                                 [&](const auto& l) { return l.text.contains(other); }));
    }
}

TEST_F(ChartView, BottomAxisLabelsShowTheDateAboveTheTime) {
    Open();
    AddDay();
    Painted();
    const auto& labels = Chart().BottomAxis().Scale().labels;
    ASSERT_FALSE(labels.empty());
    const QRegularExpression twoLines(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}[\\r\\n ]+\\d{2}:\\d{2}$"));
    for (const auto& label : labels)
        EXPECT_TRUE(twoLines.match(label.text).hasMatch()) << label.text.toStdString();
}

TEST_F(ChartView, HidingTemperatureRescalesToHumidityAndDropsItsLegendItem) {
    MainWindow& w = Open();
    AddDay();
    const QImage both = Painted();
    EXPECT_GT(Count(both, Qt::red), 0);
    EXPECT_GT(Count(both, QColor(0, 128, 0)), 0);
    EXPECT_EQ(Chart().LastLayout().legend.textAt.size(), 2u);
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Minimum(), 20.0);

    Click(Control::CheckBox1);
    EXPECT_FALSE(w.IsChecked(Control::CheckBox1));
    EXPECT_FALSE(w.SeriesActive(Series::Series1));
    const QImage humidity = Painted();
    EXPECT_EQ(Count(humidity, Qt::red), 0);
    EXPECT_GT(Count(humidity, QColor(0, 128, 0)), 0);
    EXPECT_EQ(Chart().LastLayout().legend.textAt.size(), 1u);
    // The value axis spans the humidity alone now.
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Minimum(), 40.0);
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Maximum(), 60.0);
    for (const auto& label : Chart().LeftAxis().Scale().labels)
        EXPECT_GE(label.value, 40.0);

    // Ticked again: the same points, the same picture.
    Click(Control::CheckBox1);
    EXPECT_TRUE(w.SeriesActive(Series::Series1));
    EXPECT_EQ(Chart().Series(0).Count(), 145u);
    EXPECT_TRUE(Painted() == both);
}

TEST_F(ChartView, HidingBothRemovesLinesLegendAndLabelsUntilShownAgain) {
    MainWindow& w = Open();
    AddDay();
    const QImage both = Painted();

    Click(Control::CheckBox2);
    EXPECT_FALSE(w.SeriesActive(Series::Series2));
    EXPECT_TRUE(w.SeriesActive(Series::Series1));
    const QImage temperature = Painted();
    EXPECT_EQ(Count(temperature, QColor(0, 128, 0)), 0);
    EXPECT_GT(Count(temperature, Qt::red), 0);
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Maximum(), 25.0);

    Click(Control::CheckBox1);
    const QImage none = Painted();
    EXPECT_EQ(Count(none, Qt::red), 0);
    EXPECT_EQ(Count(none, QColor(0, 128, 0)), 0);
    EXPECT_FALSE(Chart().LastLayout().legend.drawn);
    EXPECT_TRUE(Chart().BottomAxis().Scale().labels.empty());
    EXPECT_TRUE(Chart().LeftAxis().Scale().labels.empty());
    // The points are still there.
    EXPECT_EQ(Chart().Series(0).Count(), 145u);
    EXPECT_EQ(Chart().Series(1).Count(), 145u);

    Click(Control::CheckBox1);
    Click(Control::CheckBox2);
    EXPECT_TRUE(Painted() == both);
    EXPECT_TRUE(dialogs.errors.empty());
}

// --- Printing --------------------------------------------------------------------------------

struct PdfFacts {
    int pages = 0;
    double width = 0;
    double height = 0;
};

// The page count and the first page's size from a PDF as Qt writes it (page objects and their
// media boxes in plain text).
PdfFacts ReadPdf(const std::filesystem::path& file) {
    QFile f(QString::fromStdString(file.string()));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(f.readAll());
    PdfFacts facts;
    facts.pages = static_cast<int>(
        text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
    const QRegularExpressionMatch box =
        QRegularExpression(
            QStringLiteral(
                "/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)"))
            .match(text);
    if (box.hasMatch()) {
        facts.width = box.captured(3).toDouble() - box.captured(1).toDouble();
        facts.height = box.captured(4).toDouble() - box.captured(2).toDouble();
    }
    return facts;
}

class ChartPrinting : public ChartView {
protected:
    void SetUp() override {
        MainWindow& w = Open();
        AddDay();
        // A loaded file or a download makes the print button usable.
        w.OnFileLoaded();
        // The user picks printing to a PDF file, in portrait.
        dialogs.onPrint = [this](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf.string()));
            printer.setPageOrientation(QPageLayout::Portrait);
        };
    }

    testing::TempFolder folder;
    std::filesystem::path pdf = folder / "chart.pdf";
};

TEST_F(ChartPrinting, PrintsOneLandscapePageAndLeavesThePrinterPortrait) {
    Click(Control::Button4);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].text.toStdString();
    ASSERT_EQ(dialogs.printers.size(), 1u);
    const PdfFacts facts = ReadPdf(pdf);
    EXPECT_EQ(facts.pages, 1);
    EXPECT_GT(facts.width, facts.height);
    EXPECT_EQ(dialogs.printers[0]->pageLayout().orientation(), QPageLayout::Portrait);
    // Printing changes nothing on the chart.
    EXPECT_TRUE(Chart().BottomAxis().Automatic());
    EXPECT_EQ(Chart().Series(0).Count(), 145u);
}

TEST_F(ChartPrinting, TheNextDialogOpensWithTheChoicesOfTheLastOne) {
    Click(Control::Button4);
    std::filesystem::remove(pdf);
    QString fileSeen;
    QPageLayout::Orientation orientationSeen = QPageLayout::Landscape;
    dialogs.onPrint = [&](QPrinter& printer) {
        fileSeen = printer.outputFileName();
        orientationSeen = printer.pageLayout().orientation();
    };
    Click(Control::Button4);
    ASSERT_EQ(dialogs.printers.size(), 2u);
    EXPECT_EQ(dialogs.printers[1], dialogs.printers[0]);
    EXPECT_EQ(fileSeen.toStdString(), pdf.string());
    EXPECT_EQ(orientationSeen, QPageLayout::Portrait);
    EXPECT_EQ(ReadPdf(pdf).pages, 1);
}

// The page of a PDF file without what differs between two prints of one page (the time).
QString PageOf(const std::filesystem::path& file) {
    QFile f(QString::fromStdString(file.string()));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readAll())
        .remove(QRegularExpression(QStringLiteral("/CreationDate \\([^)]*\\)")));
}

// A resized window prints the page of the window at its size in the table, with the axes'
// present ranges.
TEST_F(ChartPrinting, AResizedWindowPrintsTheSamePage) {
    window->show();
    Chart().BottomAxis().AssignRange(Start + 0.25, Start + 0.5);
    Click(Control::Button4);
    const QString atTableSize = PageOf(pdf);
    ASSERT_FALSE(atTableSize.isEmpty());
    window->resize(1100, 800);
    ASSERT_EQ(window->Chart1().size(), QSize(980, 713));
    Click(Control::Button4);
    EXPECT_TRUE(PageOf(pdf) == atTableSize);
    EXPECT_EQ(Chart().BottomAxis().Minimum(), Start + 0.25);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(ChartPrinting, CancelPrintsNothing) {
    dialogs.confirm = false;
    Click(Control::Button4);
    EXPECT_EQ(dialogs.printers.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(ChartPrinting, AFailingJobIsReportedAndTheOrientationRestored) {
    pdf = folder / "no such folder" / "chart.pdf";
    Click(Control::Button4);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    ASSERT_EQ(dialogs.printers.size(), 1u);
    EXPECT_EQ(dialogs.printers[0]->pageLayout().orientation(), QPageLayout::Portrait);
}

} // namespace
} // namespace velkor
