// The layers over Chart1 in the window: the hover readout in the window's language, the menu of a
// right click (entries, when it opens, what each entry does) through the scripted dialogs.
#include "app/ChartMenu.h"
#include "LoggerWindow.h"
#include "app/ChartCsv.h"
#include "chart/ChartOverlay.h"
#include "chart/ChartWidget.h"
#include "log/CsvExport.h"
#include "tests/support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>

#include <map>

namespace velkor {
namespace {

using velkor::testing::LoggerWindow;

constexpr double MenuStart = 45356.25; // 2024-03-05 06:00
constexpr double Step = 1.0 / 144;     // ten minutes

class ChartLayers : public LoggerWindow {
protected:
    chart::ChartWidget& Widget() { return window->Chart1(); }
    chart::Chart& Chart() { return Widget().Chart(); }
    ChartMenu& Menu() { return *Widget().findChild<ChartMenu*>(); }
    chart::ChartOverlay& Readout() { return *Widget().findChild<chart::ChartOverlay*>(); }

    // Samples i = 0..n-1 ten minutes apart; the humidity has none where `gap` says.
    void AddSamples(const std::vector<double>& t, const std::vector<std::optional<double>>& h) {
        for (std::size_t i = 0; i < t.size(); ++i) {
            window->AddPoint(Series::Series1, MenuStart + Step * i, t[i], chart::Red);
            if (h[i])
                window->AddPoint(Series::Series2, MenuStart + Step * i, *h[i], chart::Green);
        }
    }
    void AddDay() {
        std::vector<double> t;
        std::vector<std::optional<double>> h;
        for (int i = 0; i <= 144; ++i) {
            t.push_back(20 + (i % 37) / 10.0);
            h.push_back(i % 50 == 7 ? std::nullopt : std::optional<double>(40 + (i % 53) / 2.0));
        }
        AddSamples(t, h);
    }
    // The chart as the window shows it (painted twice: the first paint knows no axis length).
    QImage Screen() {
        Widget().grab();
        return Widget().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QPoint PlotCentre() {
        const chart::PlotRect& p = Chart().LastLayout().plot;
        return {(p.left + p.right) / 2, (p.top + p.bottom) / 2};
    }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, at, Widget().mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&Widget(), &e);
    }
    QMenu* Shown() {
        QMenu* menu = Widget().findChild<QMenu*>(QStringLiteral("ChartMenu"));
        return menu && menu->isVisible() ? menu : nullptr;
    }

    testing::TempFolder folder;
};

TEST_F(ChartLayers, ReadoutSpeaksTheWindowsLanguage) {
    for (const auto& [language, box] :
         {std::pair{Language::Polish, QStringList{"2024-03-05 06:50:00", "Temperatura: 20,5 °C",
                                                  "Wilgotność: 42,5 %"}},
          std::pair{Language::English, QStringList{"2024-03-05 06:50:00", "Temperature: 20.5 °C",
                                                   "Humidity: 42.5 %"}}}) {
        Open(language);
        AddDay();
        Screen();
        const QPoint at(Chart().BottomAxis().ValueToPosition(MenuStart + 5 * Step),
                        PlotCentre().y());
        Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(Readout().BoxLines(), box);
    }
}

// Archiwum... opens the archive whether or not the chart holds points.
TEST_F(ChartLayers, MenuEntriesInOrderAllButCopyAndArchiveNeedPoints) {
    using Texts = QStringList;
    for (const auto& [language, points, texts] :
         {std::tuple{Language::Polish, false,
                     Texts{"Kopiuj wykres", "Zapisz wykres jako obraz...",
                           "Eksportuj dane do CSV...", "Statystyka...", "Analiza i alarmy...",
                           "Raport PDF...", "Pokaż cały wykres", "Archiwum..."}},
          std::tuple{Language::English, true,
                     Texts{"Copy chart", "Save chart as image...", "Export data to CSV...",
                           "Statistics...", "Analysis and alarms...", "PDF report...",
                           "Show whole chart", "Archive..."}}}) {
        Open(language);
        if (points)
            AddDay();
        Texts shown;
        std::vector<bool> enabled;
        for (QAction* a : Menu().Menu().actions()) {
            shown << a->text();
            enabled.push_back(a->isEnabled());
        }
        EXPECT_EQ(shown, texts);
        // The report needs a data file; these points were added without one. Archiwum... needs
        // no points.
        EXPECT_EQ(enabled,
                  (std::vector<bool>{true, points, points, points, points, false, points, true}));
    }
}

// A right press and release within 3 pixels opens the menu; further apart it is a pan.
TEST_F(ChartLayers, RightClickOpensTheMenuRightDragPans) {
    for (const auto& [move, opens] :
         {std::pair{QPoint(0, 0), true}, std::pair{QPoint(3, -3), true},
          std::pair{QPoint(4, 0), false}, std::pair{QPoint(0, -20), false}}) {
        SCOPED_TRACE(move.x() * 100 + move.y());
        Open();
        AddDay();
        Screen();
        const double before = Chart().BottomAxis().Minimum();
        const QPoint at = PlotCentre();
        Send(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
        Send(QEvent::MouseMove, at + move, Qt::NoButton, Qt::RightButton);
        Send(QEvent::MouseButtonRelease, at + move, Qt::RightButton, Qt::NoButton);
        EXPECT_EQ(Shown() != nullptr, opens);
        EXPECT_EQ(Chart().BottomAxis().Minimum() != before, move.x() != 0);
        EXPECT_FALSE(Widget().ZoomScroll().PanRecord().active);
        if (QMenu* menu = Shown())
            menu->hide();
    }
}

// PNG is the on-screen chart pixel for pixel (a readout shown before is left out); the format
// follows the name's suffix, else the chosen filter; the dialog proposes the last folder.
TEST_F(ChartLayers, SavedImagesAreTheScreensChart) {
    Open();
    AddDay();
    const QImage screen = Screen();
    Send(QEvent::MouseMove, PlotCentre(), Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(Readout().Current());
    struct Case {
        const char* chosen;
        int filter;
        const char* written;
        QByteArray start;
    };
    const QString dir = QString::fromStdString(folder.path().string());
    QString proposed = "wykres";
    for (const Case& c : {Case{"a.png", 2, "a.png", "\x89PNG"}, Case{"b", 1, "b.svg", "<?xml"},
                          Case{"c.PDF", 0, "c.PDF", "%PDF"}, Case{"d", 2, "d.pdf", "%PDF"},
                          Case{"e.svg", 0, "e.svg", "<?xml"}}) {
        SCOPED_TRACE(c.chosen);
        dialogs.chosenFile = dir + "/" + c.chosen;
        dialogs.chosenFilter = c.filter;
        Menu().Run(ChartMenu::Entry::SaveImage);
        ASSERT_TRUE(dialogs.errors.empty());
        EXPECT_EQ(dialogs.saveOptions.back().presetName, proposed);
        EXPECT_EQ(dialogs.saveOptions.back().filter,
                  "Obraz PNG|*.png|Obraz SVG|*.svg|Dokument PDF|*.pdf");
        proposed = dir + "/wykres";
        QFile file(dir + "/" + c.written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(8).startsWith(c.start));
    }
    EXPECT_EQ(QImage(dir + "/a.png").convertToFormat(QImage::Format_RGB32), screen);
    Menu().Run(ChartMenu::Entry::Copy);
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), screen);
    dialogs.chosenFile = dir + "/missing/f.png";
    Menu().Run(ChartMenu::Entry::SaveImage);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(dialogs.errors[0].text.startsWith("Nie można zapisać pliku " + dir));
}

TEST_F(ChartLayers, RowsByTimeShareTimesAndLeaveGapsEmpty) {
    const std::vector<double> tx = {1, 2, 2, 5}, ty = {10, 20, 21, 50};
    const std::vector<double> hx = {0, 2, 3, 5, 6}, hy = {100, 200, 300, 500, 600};
    const std::vector<TimeRow> expected = {
        {0, std::nullopt, 100}, {1, 10, std::nullopt}, {2, 20, 200},          {2, 21, std::nullopt},
        {3, std::nullopt, 300}, {5, 50, 500},          {6, std::nullopt, 600}};
    EXPECT_EQ(RowsByTime(tx, ty, hx, hy), expected);
    EXPECT_TRUE(RowsByTime({}, {}, {}, {}).empty());
}

// Every point of both series, shown or hidden, one row per time against the chart's points.
TEST_F(ChartLayers, CsvExportHoldsEveryPointOfTheChart) {
    Open();
    AddDay();
    window->SetSeriesActive(Series::Series2, false);
    const QString file = QString::fromStdString((folder / "d.csv").string());
    dialogs.chosenFile = file;
    Menu().Run(ChartMenu::Entry::ExportCsv);
    ASSERT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(dialogs.saveOptions.back().presetName, "dane.csv");
    std::map<double, std::pair<std::optional<double>, std::optional<double>>> byTime;
    for (std::size_t s = 0; s < 2; ++s)
        for (std::size_t i = 0; i < Chart().Series(s).Count(); ++i) {
            auto& entry = byTime[Chart().Series(s).XValue(i)];
            (s == 0 ? entry.first : entry.second) = Chart().Series(s).YValue(i);
        }
    std::string expected = CsvStart(PolishCsv);
    for (const auto& [time, values] : byTime)
        expected += CsvLine(PolishCsv, time, values.first, values.second) + "\r\n";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), expected);
    EXPECT_EQ(byTime.size(), 145u);
    Menu().Run(ChartMenu::Entry::ExportCsv);
    EXPECT_EQ(dialogs.saveOptions.back().presetName,
              QString::fromStdString(folder.path().string()) + "/dane.csv");
}

// The CSV follows the window's language: the Polish form for a Polish spreadsheet, the comma
// form otherwise; the values with one decimal as in the data file, not as the chart's floats.
TEST_F(ChartLayers, CsvExportInTheWindowsLanguage) {
    const struct {
        Language language;
        std::string bytes;
    } cases[] = {
        {Language::Polish, "\xEF\xBB\xBFtime;temperature_c;humidity_pct\r\n"
                           "2024-03-05 06:00:00;20,7;42,3\r\n"
                           "2024-03-05 06:10:00;21,3;\r\n"
                           "2024-03-05 06:20:00;-0,1;100,0\r\n"},
        {Language::English, "time,temperature_c,humidity_pct\r\n"
                            "2024-03-05 06:00:00,20.7,42.3\r\n"
                            "2024-03-05 06:10:00,21.3,\r\n"
                            "2024-03-05 06:20:00,-0.1,100.0\r\n"},
    };
    for (const auto& c : cases) {
        Open(c.language);
        // As a loaded file gives them: each value rounded to single precision.
        AddSamples({20.7f, 21.3f, -0.1f}, {42.3f, std::nullopt, 100.0f});
        const QString file = QString::fromStdString((folder / "d.csv").string());
        dialogs.chosenFile = file;
        Menu().Run(ChartMenu::Entry::ExportCsv);
        ASSERT_TRUE(dialogs.errors.empty());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll().toStdString(), c.bytes);
    }
}

// Over the visible time range, for the visible series only.
TEST_F(ChartLayers, StatisticsOfTheVisibleRangeAndSeries) {
    struct Case {
        Language language;
        bool humidity;
        double from, to; // sample numbers
        QString text;
    };
    const std::vector<Case> cases = {
        {Language::Polish, true, 1, 3,
         "Zakres: 2024-03-05 06:10:00 – 2024-03-05 06:30:00\n\nTemperatura\n"
         "Liczba punktów: 3\nMinimum: 19,5 °C (2024-03-05 06:20:00)\n"
         "Maksimum: 22,5 °C (2024-03-05 06:10:00)\nŚrednia: 21,00 °C\n\nWilgotność\n"
         "Liczba punktów: 2\nMinimum: 45,0 % (2024-03-05 06:10:00)\n"
         "Maksimum: 50,5 % (2024-03-05 06:20:00)\nŚrednia: 47,75 %"},
        {Language::English, false, 0, 1.5,
         "Range: 2024-03-05 06:00:00 – 2024-03-05 06:15:00\n\nTemperature\n"
         "Number of points: 2\nMinimum: 20.0 °C (2024-03-05 06:00:00)\n"
         "Maximum: 22.5 °C (2024-03-05 06:10:00)\nMean: 21.25 °C"},
        {Language::English, true, 3.2, 3.8,
         "Range: 2024-03-05 06:32:00 – 2024-03-05 06:38:00\n\nTemperature\n"
         "Number of points: 0\n\nHumidity\nNumber of points: 0"},
    };
    for (const Case& c : cases) {
        Open(c.language);
        AddSamples({20.0, 22.5, 19.5, 21.0}, {40.0, 45.0, 50.5, std::nullopt});
        window->SetSeriesActive(Series::Series2, c.humidity);
        Chart().BottomAxis().AssignRange(MenuStart + c.from * Step, MenuStart + c.to * Step);
        Menu().Run(ChartMenu::Entry::Statistics);
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back().text, c.text);
        EXPECT_EQ(dialogs.messages.back().caption,
                  c.language == Language::Polish ? "Statystyka" : "Statistics");
    }
}

TEST_F(ChartLayers, ShowWholeChartUndoesTheZoom) {
    Open();
    AddDay();
    Screen();
    const QImage whole = Screen();
    Widget().ZoomScroll().ZoomToRectangle(Widget(), PlotCentre() - QPoint(50, 50),
                                          PlotCentre() + QPoint(50, 50));
    EXPECT_NE(Screen(), whole);
    Menu().Run(ChartMenu::Entry::ShowAll);
    EXPECT_FALSE(Widget().ZoomScroll().Zoomed());
    EXPECT_EQ(Screen(), whole);
}

} // namespace
} // namespace velkor
