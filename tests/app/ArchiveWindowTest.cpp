// The window with an archive: every download goes in after logger.txt is written, an archive
// that cannot be written costs nothing but a box, and the erase question warns of samples the
// archive lacks.
#include "LoggerBlocks.h"
#include "PdfText.h"
#include "app/AnalysisDialog.h"
#include "app/AnalysisLayer.h"
#include "app/ArchiveDialog.h"
#include "app/ChartMenu.h"
#include "app/ChartView.h"
#include "archive/Archive.h"
#include "chart/ChartOverlay.h"
#include "chart/ChartWidget.h"
#include "log/DataLine.h"
#include "tests/support/TempFolder.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include <QProcess>
#include <QThread>
#include <sqlite3.h>

#include <fstream>

namespace velkor {
namespace {

using testing::FullBlock;
using testing::LoggerWindow;

class ArchiveWindow : public LoggerWindow {
protected:
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path().string())));
    }
    void TearDown() override { QDir::setCurrent(previous); }
    std::string Archive(const char* name) const { return (folder / name).string(); }

    testing::TempFolder folder;
    QString previous;
};

TEST_F(ArchiveWindow, EveryDownloadGoesInAndItsLineEndsTheMessage) {
    auto silentFrom2 = testing::SmallLog();
    silentFrom2.erase(2);
    const struct {
        const char* name;
        std::map<int, std::string> blocks;
        std::size_t errors; // boxes
        const char* lastLine;
        std::int64_t archived;
    } cases[] = {
        // A complete download ends as it always did: no box. Of SmallLog's four lines the
        // archive takes what the data-file reader takes: -3276.8 does not fit the file's
        // six-character temperature field, so that line reads as a bad one.
        {"complete", testing::SmallLog(), 0, nullptr, 3},
        {"silent from block 2", silentFrom2, 1,
         "Archiwum: nowe próbki: 0, już zapisane: 3, sprzeczne: 0.", 3},
        {"nothing received", {}, 1, "Archiwum: nowe próbki: 0, już zapisane: 0, sprzeczne: 0.", 3},
    };
    services.services.archive = Archive("archive.sqlite");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs = testing::FakeDialogs();
        Open();
        Connect(testing::LoggerWithBlocks(c.blocks));
        Click(Control::Button7);
        ASSERT_EQ(dialogs.errors.size(), c.errors);
        if (c.lastLine) {
            EXPECT_TRUE(dialogs.errors[0].text.endsWith(u'\n' + QString::fromUtf8(c.lastLine)))
                << dialogs.errors[0].text.toStdString();
        }
        const auto a = archive::OpenArchive(Archive("archive.sqlite"));
        EXPECT_EQ(a->CountSamples("RTW01234", {}), c.archived);
        const auto downloads = a->Downloads("RTW01234");
        ASSERT_FALSE(downloads.empty());
        EXPECT_EQ(downloads.back().meta.port, "COM3");
        EXPECT_EQ(downloads.back().meta.complete, c.errors == 0);
    }
}

TEST_F(ArchiveWindow, AnArchiveThatCannotBeWrittenLeavesLoggerTxt) {
    std::ofstream(Archive("noise.sqlite"), std::ios::binary) << std::string(4096, '\x5a');
    services.services.archive = Archive("noise.sqlite");
    Open(Language::English);
    Connect(testing::LoggerWithBlocks(testing::SmallLog()));
    Click(Control::Button7);
    EXPECT_EQ(testing::Slurp(folder / "logger.txt").size(), 141u);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text.toStdString(),
              "The archive " + Archive("noise.sqlite") +
                  " could not be written: the file is not an archive of this program (file is "
                  "not a database)");
    // The buttons are those of a finished download.
    EXPECT_TRUE(window->IsControlEnabled(Control::Button3));
    EXPECT_FALSE(window->IsControlEnabled(Control::Button7));
}

TEST_F(ArchiveWindow, TheEraseQuestionWarnsOfSamplesOutsideTheArchive) {
    // ValidLogger: 100 samples a minute from 2024-01-01, its clock long past them.
    const struct {
        const char* name;
        bool downloadFirst;
        const char* question;
    } cases[] = {
        {"nothing archived", false, "Uwaga: próbek spoza archiwum: 100.\nCzy na pewno?"},
        {"three archived", true, "Uwaga: próbek spoza archiwum: 97.\nCzy na pewno?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs = testing::FakeDialogs();
        dialogs.answerYes = false;
        services.services.archive = Archive(c.name);
        Open(Language::English);
        Connect(testing::LoggerWithBlocks(testing::SmallLog()));
        if (c.downloadFirst)
            Click(Control::Button7);
        Click(Control::Button8);
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text, QString::fromUtf8(c.question));
    }
}

TEST_F(ArchiveWindow, AnEraseIsRecorded) {
    services.services.archive = Archive("archive.sqlite");
    Open();
    auto replies = testing::LoggerWithBlocks(testing::SmallLog());
    replies["E!\r"] = "E!OK\r";
    Connect(replies);
    Click(Control::Button8);
    const auto erases = archive::OpenArchive(Archive("archive.sqlite"))->EraseEvents("RTW01234");
    ASSERT_EQ(erases.size(), 1u);
    EXPECT_TRUE(erases[0].confirmed);
}

// Whether another connection holds the archive's write lock now.
bool WriteLocked(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_BUSY;
}

// A cron job's velkor-cli imports into the archive while the window's download ends: the window
// waits for the import's transaction, then stores its own; both succeed, each sample once.
TEST_F(ArchiveWindow, TheWindowWaitsForVelkorCliAndBothAreStored) {
    const std::string path = Archive("archive.sqlite");
    services.services.archive = path;
    archive::OpenArchive(path); // made beforehand, so that neither side creates it
    std::string lines;
    int number = 0;
    for (int month = 1; month <= 5; ++month)
        for (int day = 1; day <= 28; ++day)
            for (int minute = 0; minute < 24 * 60; ++minute)
                lines += DataLine(++number, 2023, month, day, minute / 60, minute % 60, 0,
                                  minute % 100, 500);
    std::ofstream(Archive("cron.txt"), std::ios::binary) << lines;
    Open();
    Connect(testing::LoggerWithBlocks(testing::SmallLog()));

    QProcess cli;
    cli.start(QStringLiteral(VELKOR_CLI),
              {"archive", "import", QString::fromStdString(Archive("cron.txt")), "--logger",
               "RTW01234", "--archive", QString::fromStdString(path)});
    ASSERT_TRUE(cli.waitForStarted());
    while (!WriteLocked(path) && cli.state() == QProcess::Running)
        QThread::usleep(500);
    ASSERT_EQ(cli.state(), QProcess::Running) << "the import ended before it was seen writing";
    Click(Control::Button7);
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(dialogs.errors.empty());

    const auto a = archive::OpenArchive(path);
    EXPECT_EQ(a->CountSamples("RTW01234", {}), number + 3);
    const auto downloads = a->Downloads("RTW01234");
    ASSERT_EQ(downloads.size(), 2u);
    // The window's download came second: it waited for the import's transaction.
    EXPECT_EQ(downloads[0].meta.kind, archive::DownloadKind::Import);
    EXPECT_EQ(downloads[1].meta.kind, archive::DownloadKind::Download);
    EXPECT_EQ(downloads[1].meta.program, "velkor");
    EXPECT_TRUE(a->Check().intact);
}

} // namespace
} // namespace velkor

namespace velkor {
namespace {

// Two loggers in an archive of their own: a labelled humidity logger with ten samples a minute
// from 2024-03-01 00:00, and one without a humidity sensor with five every ten minutes.
class ArchiveOnTheChart : public ArchiveWindow {
protected:
    void SetUp() override {
        ArchiveWindow::SetUp();
        services.services.archive = Archive("archive.sqlite");
        auto a = archive::OpenArchive(services.services.archive);
        archive::DownloadMeta meta;
        meta.kind = archive::DownloadKind::Import;
        std::vector<archive::Sample> fridge, freezer;
        for (int i = 0; i < 10; ++i)
            fridge.push_back({March + 60 * i, 40 + i, 500 + i});
        for (int i = 0; i < 5; ++i)
            freezer.push_back({March + 600 * i, -180 - i, 0});
        a->Store({"RTW00001", true}, meta, fridge);
        a->Store({"RTT00002", false}, meta, freezer);
        a->SetLabel("RTW00001", "Lodówka");
    }
    // The dialog as the user answers it: these rows ticked, then one of its buttons.
    void Answer(std::vector<int> rows, bool openAsData = false) {
        window->runArchiveDialog = [rows, openAsData](ArchiveDialog& dialog) {
            for (int row : rows)
                dialog.SetTicked(row, true);
            (openAsData ? dialog.OpenAsDataButton() : dialog.ShowButton()).click();
            return true;
        };
    }
    chart::LineSeries& Line(std::size_t i) { return window->Chart1().Chart().Series(i); }

    static constexpr archive::LoggerSeconds March = 1'709'251'200; // 2024-03-01 00:00:00
};

TEST_F(ArchiveOnTheChart, EachLoggerIsItsOwnPairOfLinesUntilTheNextDownloadOrLoad) {
    Open();
    ASSERT_TRUE(window->SeriesActive(Series::Series1));
    Answer({0, 1}); // RTT00002, then RTW00001 (by identifier)
    window->RunGuarded([this] { window->ArchiveClick(); });
    ASSERT_TRUE(window->ArchiveView());
    EXPECT_FALSE(window->SeriesActive(Series::Series1));
    EXPECT_FALSE(window->SeriesActive(Series::Series2));
    const struct {
        const char* title;
        int points;
        bool active;
    } lines[] = {
        {"RTT00002: temperatura", 5, true},
        {"RTT00002: wilgotność", 0, false}, // no humidity sensor
        {"Lodówka: temperatura", 10, true},
        {"Lodówka: wilgotność", 10, true},
    };
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        SCOPED_TRACE(lines[i].title);
        EXPECT_EQ(Line(FirstArchiveSeries + i).Title(), QString::fromUtf8(lines[i].title));
        EXPECT_EQ(Line(FirstArchiveSeries + i).Count(), lines[i].points);
        EXPECT_EQ(Line(FirstArchiveSeries + i).Active(), lines[i].active);
    }
    EXPECT_NE(Line(FirstArchiveSeries).SeriesColor(), Line(FirstArchiveSeries + 2).SeriesColor());
    EXPECT_DOUBLE_EQ(Line(FirstArchiveSeries + 2).YValues().Values()[3], 4.3);
    // The dew point's place is kept, empty and hidden.
    EXPECT_FALSE(Line(DewPointSeries).Active());

    // The check boxes show and hide the loggers' lines of their kind.
    Click(Control::CheckBox1);
    EXPECT_FALSE(Line(FirstArchiveSeries).Active());
    EXPECT_FALSE(Line(FirstArchiveSeries + 2).Active());
    EXPECT_FALSE(window->SeriesActive(Series::Series1));
    Click(Control::CheckBox1);

    window->LeaveArchiveView();
    EXPECT_FALSE(window->ArchiveView());
    EXPECT_TRUE(window->SeriesActive(Series::Series1));
    EXPECT_TRUE(window->SeriesActive(Series::Series2));
    // Back to the specified chart's two series.
    EXPECT_EQ(window->Chart1().Chart().SeriesCount(), 2u);
}

// The readout and the statistics name each logger's lines with their units.
TEST_F(ArchiveOnTheChart, ReadoutAndStatisticsCoverEachLogger) {
    Open();
    Answer({0, 1});
    window->RunGuarded([this] { window->ArchiveClick(); });
    ASSERT_TRUE(window->ArchiveView());
    chart::ChartWidget& widget = window->Chart1();
    const chart::Chart& chart = widget.Chart();
    widget.grab();
    auto* readout = widget.findChild<chart::ChartOverlay*>();
    const chart::PlotRect& plot = chart.LastLayout().plot;
    readout->MoveTo({chart.BottomAxis().ValueToPosition(archive::ToDayCount(March)),
                     (plot.top + plot.bottom) / 2});
    EXPECT_EQ(readout->BoxLines(),
              (QStringList{"2024-03-01 00:00:00", "RTT00002: temperatura: -18,0 °C",
                           "Lodówka: temperatura: 4,0 °C", "Lodówka: wilgotność: 50,0 %"}));

    // One block a shown line: its title, then its number of points.
    const QStringList blocks = StatisticsText(chart, Language::Polish).split("\n\n");
    const QStringList heads[] = {{"RTT00002: temperatura", "Liczba punktów: 5"},
                                 {"Lodówka: temperatura", "Liczba punktów: 10"},
                                 {"Lodówka: wilgotność", "Liczba punktów: 10"}};
    ASSERT_EQ(blocks.size(), 1 + std::ssize(heads));
    for (std::size_t i = 0; i < std::size(heads); ++i)
        EXPECT_EQ(blocks[static_cast<qsizetype>(i) + 1].split(u'\n').mid(0, 2), heads[i]);
    EXPECT_TRUE(blocks[2].contains("Średnia: 4,45 °C")) << blocks[2].toStdString();
}

// The analysis covers the logger chosen in its list, read from the archive over the period
// shown: its numbers, its marks and the °F of its line and readout; the report is that
// logger's, with no download facts. When the loggers go, the analysis is the data file's again.
TEST_F(ArchiveOnTheChart, TheAnalysisAndTheReportCoverTheChosenLogger) {
    Open();
    Answer({0, 1});
    window->RunGuarded([this] { window->ArchiveClick(); });
    chart::ChartWidget& widget = window->Chart1();
    auto* menu = widget.findChild<ChartMenu*>();
    menu->Run(ChartMenu::Entry::Analysis);
    auto* dialog = window->findChild<AnalysisDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->LoggerList().count(), 2);
    EXPECT_EQ(dialog->LoggerList().itemText(1), QStringLiteral("Lodówka"));
    ASSERT_TRUE(dialog->Result());
    EXPECT_EQ(dialog->Result()->samples, 5u);
    EXPECT_NEAR(dialog->Result()->temperature.mean, -18.2, 1e-9);

    dialog->ChooseLogger(1);
    AnalysisSettings settings = dialog->Settings();
    settings.profile = QString::fromStdString(std::string(analysis::CustomProfileName));
    settings.limitsOn = true;
    settings.limits = {4.2, 5.0};
    settings.showOnChart = true;
    settings.fahrenheit = true;
    settings.visibleOnly = false;
    dialog->SetSettings(settings);
    ASSERT_TRUE(dialog->Result() && dialog->Result()->limits);
    EXPECT_EQ(dialog->Result()->samples, 10u);
    EXPECT_EQ(dialog->Result()->limits->excursions.size(), 1u); // 4.0 and 4.1 °C
    EXPECT_TRUE(dialog->Layer().Shown());
    EXPECT_NEAR(dialog->Layer().Marks().limits->low, 4.2 * 1.8 + 32, 1e-9);
    // The loggers' temperature lines and readout in °F too, the humidity as it was.
    EXPECT_NEAR(Line(FirstArchiveSeries + 2).YValues().Values()[3], 4.3 * 1.8 + 32, 1e-9);
    widget.grab();
    const chart::Chart& chart = widget.Chart();
    const chart::PlotRect& plot = chart.LastLayout().plot;
    auto* readout = widget.findChild<chart::ChartOverlay*>();
    readout->MoveTo({chart.BottomAxis().ValueToPosition(archive::ToDayCount(March)),
                     (plot.top + plot.bottom) / 2});
    EXPECT_EQ(readout->BoxLines(),
              (QStringList{"2024-03-01 00:00:00", "RTT00002: temperatura: -0,4 °F",
                           "Lodówka: temperatura: 39,2 °F", "Lodówka: wilgotność: 50,0 %"}));

    dialogs.chosenFile = QString::fromStdString((folder / "lodowka").string());
    menu->Run(ChartMenu::Entry::Report);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].text.toStdString();
    const QString text = testing::PdfText(dialogs.chosenFile + QStringLiteral(".pdf"));
    for (const char* part : {"RTW00001", "archive.sqlite", "2024-03-01 00:09:00", "NIEZGODNY"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    EXPECT_FALSE(text.contains(QStringLiteral("RTT00002")));

    // A visible period without the logger's samples: said before any file is asked for.
    settings.visibleOnly = true;
    dialog->SetSettings(settings);
    widget.ZoomScroll().ZoomTimeRange(widget, archive::ToDayCount(March + 660),
                                      archive::ToDayCount(March + 1200));
    const std::size_t asked = dialogs.saveOptions.size();
    menu->Run(ChartMenu::Entry::Report);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text.toStdString(),
              "Archiwum " + services.services.archive +
                  " nie ma w okresie raportu żadnej próbki rejestratora RTW00001.");
    EXPECT_EQ(dialogs.saveOptions.size(), asked);

    window->LeaveArchiveView();
    EXPECT_TRUE(dialog->LoggerList().isHidden());
    EXPECT_FALSE(dialog->Result()); // the window holds no data file
    EXPECT_EQ(dialog->ArchivedLogger(), "");
}

TEST_F(ArchiveOnTheChart, AtMostEightLoggersCanBeTicked) {
    auto a = archive::OpenArchive(services.services.archive);
    for (int i = 0; i < 8; ++i)
        a->RecordErase({"RTW1000" + std::to_string(i), 0, true});
    const auto loggers = a->Loggers();
    ASSERT_EQ(loggers.size(), 10u);
    ArchiveDialog dialog(loggers, Language::Polish);
    for (int row = 0; row < 8; ++row)
        dialog.SetTicked(row, true);
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(dialog.Table().item(row, 0)->flags().testFlag(Qt::ItemIsEnabled), row < 8);
    EXPECT_FALSE(dialog.OpenAsDataButton().isEnabled());
    dialog.SetTicked(3, false);
    EXPECT_TRUE(dialog.Table().item(9, 0)->flags().testFlag(Qt::ItemIsEnabled));
}

TEST_F(ArchiveOnTheChart, OpenAsDataLoadsThePeriodAsTheSpecifiedChart) {
    Open();
    Answer({1}, true); // Lodówka
    window->RunGuarded([this] { window->ArchiveClick(); });
    EXPECT_FALSE(window->ArchiveView());
    // The file is loaded as Read from file loads one: its first two lines are not plotted.
    EXPECT_EQ(window->Chart1().Chart().Series(0).Count(), 8);
    const std::string file = services.dataFile.DataFileName;
    ASSERT_FALSE(file.empty());
    const std::string text = testing::Slurp(file);
    EXPECT_TRUE(text.starts_with("1\t2024-03-01 00:00:00\t+004.0\t50.0\r\n2\t2024-03-01 00:01:00"))
        << text;
    std::filesystem::remove(file);
}

} // namespace
} // namespace velkor
