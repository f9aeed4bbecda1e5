// Read data, Read from file and Save in file as the user clicks them: what reaches the chart,
// the data file, the progress bar, the buttons and the file dialogs.
#include "LoggerBlocks.h"
#include "chart/ChartWidget.h"
#include "platform/DateTime.h"
#include "tests/TestDates.h"
#include "tests/platform/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QProgressBar>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace velkor {
namespace {

using test::LoggerWindow;
using test::Replies;
using test::ValidLogger;

using test::At;

using testing::Slurp;

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class LogHandlers : public LoggerWindow {
protected:
    // Every handler runs in a working folder of its own, where "logger.txt" lands.
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path().string())));
    }
    void TearDown() override { QDir::setCurrent(previous); }

    chart::LineSeries& Temperature() { return window->Chart1().Chart().Series(0); }
    chart::LineSeries& Humidity() { return window->Chart1().Chart().Series(1); }
    QProgressBar* Bar() {
        return static_cast<QProgressBar*>(window->Widget(Control::ProgressBar1));
    }

    void ConnectWithSmallLog() { Connect(test::LoggerWithBlocks(test::SmallLog())); }
    void Choose(const std::filesystem::path& file) {
        dialogs.chosenFile = QString::fromStdString(file.string());
    }

    testing::TempFolder folder;
    QString previous;
    const std::string smallLogFile = "1\t2024-01-01 00:00:00\t+021.5\t45.3\r\n"
                                     "2\t2024-01-01 00:10:00\t-000.1\t0.5\r\n"
                                     "3\t2024-01-01 00:20:00\t 000.0\t100.0\r\n"
                                     "4\t2024-01-01 00:30:00\t-3276.8\t-0.5\r\n";
    // Four lines a load reads whole (a temperature of seven characters would not be).
    const std::string fourLines = "1\t2024-01-01 00:00:00\t+021.5\t45.3\r\n"
                                  "2\t2024-01-01 00:10:00\t-000.1\t0.5\r\n"
                                  "3\t2024-01-01 00:20:00\t 000.0\t100.0\r\n"
                                  "4\t2024-01-01 00:30:00\t-999.9\t-0.5\r\n";
};

TEST_F(LogHandlers, DownloadPlotsAllButTheFirstRecordAndOffersTheNextSteps) {
    MainWindow& w = Open();
    w.show();
    ConnectWithSmallLog();
    ASSERT_EQ(w.height(), 536);
    Click(Control::Button7);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].text.toStdString();

    EXPECT_EQ(logger.written(), "G?00000\rG?00001\rG?00002\rG?00003\rG?00004\r");
    EXPECT_EQ(Slurp(folder / "logger.txt"), smallLogFile);
    EXPECT_EQ(services.dataFile.DataFileName, "logger.txt");

    ASSERT_EQ(Temperature().Count(), 3u);
    ASSERT_EQ(Humidity().Count(), 3u);
    const double x[] = {At(2024, 1, 1, 0, 10), At(2024, 1, 1, 0, 20), At(2024, 1, 1, 0, 30)};
    const double t[] = {-0.1, 0.0, -3276.8};
    const double h[] = {0.5, 100.0, -0.5};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Temperature().XValue(i), x[i]);
        EXPECT_EQ(Humidity().XValue(i), x[i]);
        EXPECT_EQ(Temperature().YValue(i), t[i]);
        EXPECT_EQ(Humidity().YValue(i), h[i]);
        EXPECT_EQ(Temperature().PointColor(i), chart::Rgb(255, 0, 0));
        EXPECT_EQ(Humidity().PointColor(i), chart::Rgb(0, 128, 0));
    }

    EXPECT_FALSE(w.IsControlVisible(Control::ProgressBar1));
    EXPECT_EQ(w.height(), 505);
    for (Control c : {Control::Button3, Control::Button4, Control::Button5, Control::Button6})
        EXPECT_TRUE(w.IsControlEnabled(c)) << LayoutOf(c).name;
    EXPECT_FALSE(w.IsControlEnabled(Control::Button7));
    EXPECT_FALSE(w.IsControlVisible(Control::Button5));
}

// The download takes no window events, yet the bar shows each block's number as it is asked
// for: it is drawn before each wait. The chart is drawn once, after the download.
TEST_F(LogHandlers, ProgressBarIsDrawnAtEachBlockTheChartOnlyAfterwards) {
    MainWindow& w = Open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ConnectWithSmallLog();
    QCoreApplication::processEvents();
    PaintCounter bar, chart;
    Bar()->installEventFilter(&bar);
    w.Chart1().installEventFilter(&chart);
    struct Seen {
        int value, maximum, barPaints, chartPaints;
        bool visible;
    };
    std::vector<Seen> seen;
    services.pause.onSleep = [&](int) {
        seen.push_back(
            {Bar()->value(), Bar()->maximum(), bar.paints, chart.paints, Bar()->isVisible()});
    };
    Click(Control::Button7);

    ASSERT_EQ(seen.size(), 5u);
    for (int block = 0; block < 5; ++block) {
        EXPECT_EQ(seen[block].value, block);
        EXPECT_EQ(seen[block].maximum, 4);
        EXPECT_TRUE(seen[block].visible);
        EXPECT_GT(seen[block].barPaints, block ? seen[block - 1].barPaints : 0)
            << "block " << block;
        EXPECT_EQ(seen[block].chartPaints, 0) << "block " << block;
    }
    EXPECT_EQ(chart.paints, 0);
    QCoreApplication::processEvents();
    EXPECT_GT(chart.paints, 0);
}

TEST_F(LogHandlers, DownloadThatCannotCreateItsFileChangesNothingButReports) {
    MainWindow& w = Open();
    ConnectWithSmallLog();
    w.AddPoint(Series::Series1, At(2024, 1, 1, 0, 0), 20.0, chart::DefaultColor);
    // The working folder is gone: no file can be made in it.
    std::filesystem::create_directory(folder / "gone");
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString((folder / "gone").string())));
    std::filesystem::remove(folder / "gone");
    Click(Control::Button7);

    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(logger.writes.empty());
    EXPECT_EQ(Temperature().Count(), 1u);
    EXPECT_TRUE(w.IsControlEnabled(Control::Button7));
    EXPECT_FALSE(w.IsControlEnabled(Control::Button3));
    EXPECT_TRUE(w.IsControlVisible(Control::ProgressBar1));
}

TEST_F(LogHandlers, LoadShowsLinesThreeToNInTheSeriesColours) {
    MainWindow& w = Open();
    const auto file = folder.file("dane.txt", "1\t2024-01-01 00:00:00\t+021.5\t45.3\r\n"
                                              "2\t2024-01-01 00:10:00\t+021.4\t45.2\r\n"
                                              "3\t2024-01-01 00:20:00\t+021.3\t45.1\r\n"
                                              "4\t2024-01-01 00:30:00\t-005.2\t0.5\n"
                                              "123456789\t2024-01-01 00:40:00\t 000.0\t100.0\r\n");
    Choose(file);
    Click(Control::Button6);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].text.toStdString();

    ASSERT_EQ(Temperature().Count(), 3u);
    ASSERT_EQ(Humidity().Count(), 3u);
    EXPECT_EQ(Temperature().XValue(0), At(2024, 1, 1, 0, 20));
    EXPECT_EQ(Temperature().XValue(2), At(2024, 1, 1, 0, 40));
    EXPECT_EQ(Temperature().YValue(0), 21.299999237060547);
    EXPECT_EQ(Temperature().YValue(1), -5.199999809265137);
    EXPECT_EQ(Temperature().YValue(2), 0.0);
    EXPECT_EQ(Humidity().YValue(2), 100.0);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Temperature().PointColor(i), chart::DefaultColor);
        EXPECT_EQ(Humidity().DrawColor(i), chart::Green);
    }
    EXPECT_EQ(services.dataFile.DataFileName, file.string());
    for (Control c : {Control::Button3, Control::Button4, Control::Button5})
        EXPECT_TRUE(w.IsControlEnabled(c)) << LayoutOf(c).name;
    EXPECT_FALSE(w.IsControlEnabled(Control::Button7));

    // The open dialog: no filter, no name at first, then the name chosen last.
    Click(Control::Button6);
    ASSERT_EQ(dialogs.openOptions.size(), 2u);
    EXPECT_TRUE(dialogs.openOptions[0].presetName.isEmpty());
    EXPECT_TRUE(dialogs.openOptions[0].filter.isEmpty());
    EXPECT_EQ(dialogs.openOptions[1].presetName.toStdString(), file.string());
}

TEST_F(LogHandlers, FilesOfUpToTwoLinesEmptyTheChartAndEnableTheButtons) {
    for (const char* text : {"", "1\t2024-01-01 00:00:00\t+021.5\t45.3\r\n",
                             "1\t2024-01-01 00:00:00\t+021.5\t45.3\r\n"
                             "2\t2024-01-01 00:10:00\t+021.4\t45.2\r\n"}) {
        MainWindow& w = Open();
        w.AddPoint(Series::Series1, 45000.0, 1.0, chart::DefaultColor);
        w.AddPoint(Series::Series2, 45000.0, 1.0, chart::DefaultColor);
        Choose(folder.file("short.txt", text));
        Click(Control::Button6);
        EXPECT_TRUE(dialogs.errors.empty());
        EXPECT_EQ(Temperature().Count(), 0u);
        EXPECT_EQ(Humidity().Count(), 0u);
        EXPECT_TRUE(w.IsControlEnabled(Control::Button3));
        EXPECT_TRUE(w.IsControlEnabled(Control::Button4));
    }
}

TEST_F(LogHandlers, ConversionErrorStopsTheLoadButStillEnablesTheButtons) {
    MainWindow& w = Open();
    Choose(folder.file("broken.txt", "1\t2024-01-01 00:00:00\t+021.5\t45.3\r\n"
                                     "2\t2024-01-01 00:10:00\t+021.4\t45.2\r\n"
                                     "3\t2024-01-01 00:20:00\t+021.3\t45.1\r\n"
                                     "4\t2024-xx-01 00:30:00\t+021.2\t45.0\r\n"
                                     "5\t2024-01-01 00:40:00\t+021.1\t44.9\r\n"));
    Click(Control::Button6);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text,
              "'xx' is not a valid integer value.\n" + dialogs.chosenFile + ", wiersz 4");
    EXPECT_EQ(Temperature().Count(), 1u);
    EXPECT_EQ(Humidity().Count(), 1u);
    for (Control c : {Control::Button3, Control::Button4, Control::Button5})
        EXPECT_TRUE(w.IsControlEnabled(c)) << LayoutOf(c).name;
}

// Files that are no data files are named as such, in the window's language; an error on a
// line names the file and the line, its bytes shown whole.
TEST_F(LogHandlers, LoadErrorsNameTheFileAndTheLine) {
    const auto fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(folder / "folder.txt");
    const auto binary = folder.file("binary.txt", std::string("\x7f"
                                                              "ELF\x02\x01\x01\0\0\0\xff\n\n\n\x01",
                                                              15));
    const auto utf16 = folder.file("utf16.txt", std::string("\xff\xfe"
                                                            "1\0\t\0"
                                                            "2\0\r\0\n\0",
                                                            12));
    // Line 4 has a control character in its month.
    const auto control = folder.file(
        "control.txt", fourLines.substr(0, 105) + "4\t2024-0\x01-01 00:30:00\t+021.2\t45.0\r\n");
    const struct {
        Language language;
        std::filesystem::path file;
        const char* text; // %1: the file's name
        const char* secondLine;
    } cases[] = {
        {Language::Polish, binary, "Plik %1 nie zawiera danych rejestratora.", nullptr},
        {Language::English, utf16, "File %1 holds no logger data.", nullptr},
        {Language::Polish, fifo, "%1 nie jest zwykłym plikiem.", nullptr},
        {Language::English, folder / "folder.txt", "%1 is not a regular file.", nullptr},
        {Language::Polish, control, "'0\\x01' is not a valid integer value.", "%1, wiersz 4"},
        {Language::English, control, "'0\\x01' is not a valid integer value.", "%1, line 4"},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromStdString(c.file.string());
        SCOPED_TRACE(c.file.string());
        dialogs.errors.clear();
        Open(c.language);
        Choose(c.file);
        Click(Control::Button6);
        ASSERT_EQ(dialogs.errors.size(), 1u);
        QString expected = QString::fromUtf8(c.text).replace("%1", name);
        if (c.secondLine)
            expected += '\n' + QString::fromUtf8(c.secondLine).replace("%1", name);
        EXPECT_EQ(dialogs.errors[0].text, expected);
    }
}

TEST_F(LogHandlers, MissingFileIsReportedWithEmptySeriesAndUnchangedButtons) {
    MainWindow& w = Open();
    w.AddPoint(Series::Series1, 45000.0, 1.0, chart::DefaultColor);
    Choose(folder / "missing.txt");
    Click(Control::Button6);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(Temperature().Count(), 0u);
    EXPECT_FALSE(w.IsControlEnabled(Control::Button3));
    EXPECT_EQ(services.dataFile.DataFileName, (folder / "missing.txt").string());
}

TEST_F(LogHandlers, LoadReturnsTheTimeAxisToAutomaticAfterAZoom) {
    MainWindow& w = Open();
    Choose(folder.file("dane.txt", fourLines));
    Click(Control::Button6);
    w.Chart1().grab();
    chart::Chart& c = w.Chart1().Chart();
    // A zoom into part of both axes.
    c.BottomAxis().AssignRange(At(2024, 1, 1, 0, 22), At(2024, 1, 1, 0, 25));
    c.LeftAxis().AssignRange(-10, 10);
    ASSERT_FALSE(c.BottomAxis().Automatic());

    Click(Control::Button6);
    EXPECT_TRUE(c.BottomAxis().Automatic());
    EXPECT_TRUE(c.BottomAxis().AutomaticMinimum());
    EXPECT_TRUE(c.BottomAxis().AutomaticMaximum());
    // The value axis keeps the zoomed range.
    EXPECT_FALSE(c.LeftAxis().Automatic());
    w.Chart1().grab();
    EXPECT_EQ(c.BottomAxis().Minimum(), At(2024, 1, 1, 0, 20));
    EXPECT_EQ(c.BottomAxis().Maximum(), At(2024, 1, 1, 0, 30));
}

TEST_F(LogHandlers, CancelledOpenDialogChangesNothing) {
    MainWindow& w = Open();
    Choose(folder.file("dane.txt", fourLines));
    Click(Control::Button6);
    const std::vector<bool> before = EnabledStates();
    Choose(folder / "other.txt");
    dialogs.confirm = false;
    Click(Control::Button6);
    EXPECT_EQ(Temperature().Count(), 2u);
    EXPECT_EQ(services.dataFile.DataFileName, (folder / "dane.txt").string());
    EXPECT_EQ(EnabledStates(), before);
    // The name chosen last is still the one that was confirmed.
    dialogs.confirm = true;
    Click(Control::Button6);
    EXPECT_EQ(dialogs.openOptions.back().presetName.toStdString(), (folder / "dane.txt").string());
    EXPECT_TRUE(w.IsControlEnabled(Control::Button6));
}

TEST_F(LogHandlers, ADownloadReplacesTheLoadedPoints) {
    Open();
    Choose(folder.file("dane.txt", "1\t2023-06-01 00:00:00\t+021.5\t45.3\r\n"
                                   "2\t2023-06-01 00:10:00\t+021.4\t45.2\r\n"
                                   "3\t2023-06-01 00:20:00\t+021.3\t45.1\r\n"
                                   "4\t2023-06-01 00:30:00\t+021.2\t45.0\r\n"));
    Click(Control::Button6);
    ASSERT_EQ(Temperature().Count(), 2u);
    ConnectWithSmallLog();
    Click(Control::Button7);
    ASSERT_EQ(Temperature().Count(), 3u);
    ASSERT_EQ(Humidity().Count(), 3u);
    EXPECT_EQ(Temperature().XValue(0), At(2024, 1, 1, 0, 10));
    EXPECT_EQ(Humidity().XValue(0), At(2024, 1, 1, 0, 10));
    EXPECT_EQ(services.dataFile.DataFileName, "logger.txt");
}

TEST_F(LogHandlers, CopyOffersTheNameChosenLastAndAsksBeforeReplacing) {
    Open();
    ConnectWithSmallLog();
    Click(Control::Button7);
    // A new file needs no question.
    const auto copy = folder / "kopia.txt";
    Choose(copy);
    Click(Control::Button3);
    EXPECT_EQ(Slurp(copy), smallLogFile);
    EXPECT_TRUE(dialogs.questions.empty());
    ASSERT_EQ(dialogs.saveOptions.size(), 1u);
    EXPECT_EQ(dialogs.saveOptions[0].presetName, "logger.txt");
    EXPECT_EQ(dialogs.saveOptions[0].filter, "Text Files|*.txt|All Files|*.*");

    // An existing one is replaced on Yes only; the next dialog offers the name chosen last.
    const struct {
        Language language;
        bool yes;
        const char *question, *caption;
    } cases[] = {
        {Language::Polish, false, "Plik %1 już istnieje. Czy chcesz go zastąpić?",
         "Zapisz w pliku"},
        {Language::Polish, true, "Plik %1 już istnieje. Czy chcesz go zastąpić?", "Zapisz w pliku"},
        {Language::English, true, "%1 already exists. Do you want to replace it?", "Save in file"},
    };
    for (const auto& c : cases) {
        if (c.language == Language::English) {
            Open(c.language);
            ConnectWithSmallLog();
            Click(Control::Button7);
        }
        dialogs.questions.clear();
        dialogs.saveOptions.clear();
        dialogs.messages.clear();
        const auto older = folder.file("starsza.txt", "older contents\r\n");
        Choose(older);
        dialogs.answerYes = c.yes;
        Click(Control::Button3);
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text,
                  QString::fromUtf8(c.question).arg(QString::fromStdString(older.string())));
        EXPECT_EQ(dialogs.questions[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(Slurp(older), c.yes ? smallLogFile : "older contents\r\n");
        Click(Control::Button3);
        if (c.language == Language::Polish) {
            EXPECT_EQ(dialogs.saveOptions[1].presetName.toStdString(),
                      (c.yes ? older : copy).string());
        }
        EXPECT_TRUE(dialogs.messages.empty());
    }
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(services.dataFile.DataFileName, "logger.txt");
    EXPECT_TRUE(window->IsControlEnabled(Control::Button3));
}

TEST_F(LogHandlers, ACancelledCopyWritesNothingAndAFailedOneIsReported) {
    Open();
    Choose(folder.file("dane.txt", smallLogFile));
    Click(Control::Button6);
    // Cancelled: nothing is written.
    dialogs.confirm = false;
    Choose(folder / "kopia.txt");
    Click(Control::Button3);
    EXPECT_FALSE(std::filesystem::exists(folder / "kopia.txt"));
    EXPECT_TRUE(dialogs.errors.empty());
    // Into a folder that does not exist: the error report says so, the data file stays.
    dialogs.confirm = true;
    Choose(folder / "missing" / "kopia.txt");
    Click(Control::Button3);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(dialogs.errors[0].text.contains("kopia.txt"));
    EXPECT_TRUE(dialogs.errors[0].text.endsWith("."));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.saveOptions.size(), 2u);
    EXPECT_EQ(Slurp(folder / "dane.txt"), smallLogFile);
    // Onto the data file itself: nothing to ask, nothing to do, nothing to report, nothing lost.
    Choose(folder / "dane.txt");
    Click(Control::Button3);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(Slurp(folder / "dane.txt"), smallLogFile);
}

} // namespace
} // namespace velkor
