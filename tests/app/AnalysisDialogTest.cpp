// "Analiza i alarmy...": the dialog over the fridge week gives the command line's answers in
// both languages, remembers its settings, and what it puts on the chart (limit lines and shaded
// excursions, the dew point, °F) comes and goes without changing the chart otherwise.
#include "app/AnalysisDialog.h"
#include "LoggerWindow.h"
#include "app/AnalysisLayer.h"
#include "app/ChartMenu.h"
#include "app/ChartView.h"
#include "chart/ChartOverlay.h"
#include "chart/ChartWidget.h"
#include "tests/TestDates.h"
#include "tests/analysis/FridgeWeek.h"
#include "tests/platform/TempFolder.h"

#include <QTableWidget>
#include <QTemporaryDir>

namespace velkor {
namespace {

using test::LoggerWindow;

class AnalysisWindow : public LoggerWindow {
protected:
    void SetUp() override {
        previousConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    }
    void TearDown() override {
        window.reset();
        qputenv("XDG_CONFIG_HOME", previousConfig_);
    }

    chart::ChartWidget& Widget() { return window->Chart1(); }
    chart::Chart& Chart() { return Widget().Chart(); }
    // The window over the fridge week, its chart painted.
    void OpenFridge(Language language = Language::Polish) {
        Open(language);
        dialogs.chosenFile = QString::fromStdString(fridge.string());
        Click(Control::Button6);
        Screen();
    }
    AnalysisDialog& Analysis() {
        Widget().findChild<ChartMenu*>()->Run(ChartMenu::Entry::Analysis);
        return *window->findChild<AnalysisDialog*>();
    }
    QImage Screen() {
        Widget().grab();
        return Widget().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static AnalysisSettings FridgeSettings() {
        AnalysisSettings s;
        ApplyProfile(s, QStringLiteral("2-8"));
        s.humidityOn = true;
        s.humidity = {40, 70};
        const char* rules[] = {"above,8,10m,single", "above,8,45m,cumulative", "below,2,1h,single",
                               "above,10,15m,single"};
        for (std::size_t i = 0; i < s.rules.size(); ++i)
            s.rules[i] = {true, *analysis::ParseAlarmRule(rules[i])};
        return s;
    }
    static QString Cell(const QTableWidget& table, int row, int column) {
        return table.item(row, column) ? table.item(row, column)->text() : QString();
    }

    velkor::testing::TempFolder folder;
    std::filesystem::path fridge = folder.file("fridge.txt", test::FridgeWeekFile());

private:
    QTemporaryDir config_;
    QByteArray previousConfig_;
};

// The values of CliSummary.FridgeWeekAsJson and SummaryTest.FridgeWeek.
TEST_F(AnalysisWindow, SameAnswersAsTheCommandLine) {
    const struct {
        Language language;
        QStringList temperature; // quantity, min, its time, max, its time, mean, sd, MKT
        QStringList freezingNight;
        QStringList verdicts;
    } cases[] = {
        {Language::Polish,
         {"Temperatura", "-0,80 °C", "2026-03-07 23:55:00", "10,40 °C", "2026-03-04 02:15:00",
          "4,43 °C", "1,13", "4,50 °C"},
         {"2026-03-07 22:00:00", "2026-03-08 03:55:00", "6 h 00 min", "poniżej", "-0,80 °C"},
         {"ALARM", "ALARM", "ALARM", "OK"}},
        {Language::English,
         {"Temperature", "-0.80 °C", "2026-03-07 23:55:00", "10.40 °C", "2026-03-04 02:15:00",
          "4.43 °C", "1.13", "4.50 °C"},
         {"2026-03-07 22:00:00", "2026-03-08 03:55:00", "6 h 00 min", "below", "-0.80 °C"},
         {"ALARM", "ALARM", "ALARM", "OK"}},
    };
    for (const auto& c : cases) {
        OpenFridge(c.language);
        AnalysisDialog& dialog = Analysis();
        dialog.SetSettings(FridgeSettings());
        ASSERT_TRUE(dialog.Result());
        EXPECT_EQ(dialog.Result()->samples, 1980u);
        EXPECT_EQ(dialog.Result()->duplicates, 1u);
        QStringList temperature;
        for (int column = 0; column < 8; ++column)
            temperature << Cell(dialog.StatisticsTable(), 0, column);
        EXPECT_EQ(temperature, c.temperature);
        EXPECT_EQ(dialog.StatisticsTable().rowCount(), 3);
        ASSERT_EQ(dialog.ExcursionTable().rowCount(), 20);
        QStringList night;
        for (int column = 0; column < 5; ++column)
            night << Cell(dialog.ExcursionTable(), 17, column);
        EXPECT_EQ(night, c.freezingNight);
        QStringList verdicts;
        for (int row = 0; row < dialog.AlarmTable().rowCount(); ++row) {
            const QTableWidgetItem& verdict = *dialog.AlarmTable().item(row, 2);
            verdicts << verdict.text();
            EXPECT_EQ(verdict.background().color(),
                      verdict.text() == "OK" ? QColor(0, 150, 0) : QColor(200, 0, 0));
        }
        EXPECT_EQ(verdicts, c.verdicts);

        // Remembered in velkor.conf.
        const AnalysisSettings kept = LoadAnalysisSettings();
        EXPECT_EQ(kept.profile, "2-8");
        EXPECT_EQ(kept.humidity, (analysis::Range{40, 70}));
        for (std::size_t i = 0; i < kept.rules.size(); ++i)
            EXPECT_EQ(kept.rules[i].rule, FridgeSettings().rules[i].rule);
    }
}

// A pixel of the limits' colour on the row of the 8 °C line.
bool LimitLineAt(const QImage& image, const chart::Chart& chart, double value) {
    const chart::PlotRect& plot = chart.LastLayout().plot;
    const int y = chart.LeftAxis().ValueToPosition(value);
    for (int x = plot.left + 1; x < plot.right; ++x)
        if (image.pixelColor(x, y) == QColor(160, 0, 160))
            return true;
    return false;
}

TEST_F(AnalysisWindow, ShowOnChartIsALayerThatLeavesTheChartAsItWas) {
    OpenFridge();
    const QImage before = Screen();
    AnalysisDialog& dialog = Analysis();
    AnalysisSettings s = FridgeSettings();
    dialog.SetSettings(s);
    EXPECT_EQ(Screen(), before) << "off: painted exactly as before";
    EXPECT_EQ(Widget().Underlay(), nullptr);

    s.showOnChart = true;
    dialog.SetSettings(s);
    const QImage shown = Screen();
    EXPECT_TRUE(LimitLineAt(shown, Chart(), 8));
    EXPECT_TRUE(LimitLineAt(shown, Chart(), 2));
    // The freezing night is shaded blue at its middle, over the chart's grey.
    const int night = Chart().BottomAxis().ValueToPosition(test::At(2026, 3, 8, 1, 0));
    const chart::PlotRect& plot = Chart().LastLayout().plot;
    const QColor shade = shown.pixelColor(night, plot.top + 3);
    EXPECT_GT(shade.blue(), shade.red());
    const QColor grey = before.pixelColor(night, plot.top + 3);
    EXPECT_EQ(grey.blue(), grey.red());

    s.showOnChart = false;
    dialog.SetSettings(s);
    EXPECT_EQ(Screen(), before);
}

TEST_F(AnalysisWindow, FahrenheitAndDewPointOnTheChart) {
    OpenFridge();
    const std::vector<double> celsius(Chart().Series(0).YValues().Values().begin(),
                                      Chart().Series(0).YValues().Values().end());
    AnalysisDialog& dialog = Analysis();
    AnalysisSettings s = FridgeSettings();
    s.fahrenheit = true;
    s.dewPoint = true;
    dialog.SetSettings(s);
    ASSERT_EQ(Chart().SeriesCount(), 3u);
    EXPECT_EQ(Chart().Series(DewPointSeries).Title(), "Punkt rosy");
    // Lines 1 and 2 stay off the chart, as for the other series; the duplicate is plotted.
    EXPECT_EQ(Chart().Series(DewPointSeries).Count(), Chart().Series(0).Count());
    const std::span<const double> shown = Chart().Series(0).YValues().Values();
    ASSERT_EQ(shown.size(), celsius.size());
    for (std::size_t i = 0; i < shown.size(); i += 97)
        EXPECT_DOUBLE_EQ(shown[i], celsius[i] * 1.8 + 32);
    EXPECT_EQ(Cell(dialog.StatisticsTable(), 0, 1), "30,56 °F");
    EXPECT_EQ(SeriesUnit(Chart(), 0), "°F");
    EXPECT_TRUE(StatisticsText(Chart(), Language::Polish).contains("°F"));
    Screen();
    auto* readout = Widget().findChild<chart::ChartOverlay*>();
    const chart::PlotRect& plot = Chart().LastLayout().plot;
    readout->MoveTo({(plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2});
    const QStringList box = readout->BoxLines();
    ASSERT_EQ(box.size(), 4);
    EXPECT_TRUE(box[1].startsWith("Temperatura: ") && box[1].endsWith(" °F"))
        << box[1].toStdString();
    EXPECT_TRUE(box[3].startsWith("Punkt rosy: ") && box[3].endsWith(" °F"))
        << box[3].toStdString();

    // A new load comes in °F too, and the dew point follows it.
    Click(Control::Button6);
    dialog.CheckForChanges();
    EXPECT_DOUBLE_EQ(Chart().Series(0).YValues().Values()[0], celsius[0] * 1.8 + 32);
    EXPECT_EQ(Chart().Series(DewPointSeries).Count(), Chart().Series(0).Count());

    s.fahrenheit = false;
    s.dewPoint = false;
    dialog.SetSettings(s);
    EXPECT_EQ(Chart().SeriesCount(), 2u);
    const std::span<const double> back = Chart().Series(0).YValues().Values();
    for (std::size_t i = 0; i < back.size(); i += 97)
        EXPECT_NEAR(back[i], celsius[i], 1e-9);
}

TEST_F(AnalysisWindow, ExcursionZoomsTheChartAndTheVisibleRangeIsRecomputed) {
    OpenFridge();
    AnalysisDialog& dialog = Analysis();
    AnalysisSettings s = FridgeSettings();
    s.visibleOnly = true;
    dialog.SetSettings(s);
    // The chart begins at line 3: lines 1 and 2 lie before the visible range.
    EXPECT_EQ(dialog.Result()->samples, 1978u);
    dialog.ExcursionTable().selectRow(17); // the freezing night
    const double start = test::At(2026, 3, 7, 22, 0), end = test::At(2026, 3, 8, 3, 55);
    const chart::ChartAxis& time = Chart().BottomAxis();
    EXPECT_LT(time.Minimum(), start);
    EXPECT_GT(time.Maximum(), end);
    EXPECT_LT(time.Maximum() - time.Minimum(), 1.0);
    // The timer's check: the visible range changed, so the summary covers it alone.
    dialog.CheckForChanges();
    EXPECT_LT(dialog.Result()->samples, 300u);
    EXPECT_EQ(dialog.Result()->limits->excursions.size(), 1u);
    Widget().ZoomScroll().ResetZoom(Widget());
    Screen();
    dialog.CheckForChanges();
    EXPECT_EQ(dialog.Result()->samples, 1978u);
}

} // namespace
} // namespace velkor
