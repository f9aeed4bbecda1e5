// The measurement log in the window: download the log (Read data), load a data file (Read from
// file) and save a copy of the current data file (Save in file). The work itself is log/'s;
// here the chart, the progress bar, the buttons and the file dialogs take part.

#include "app/ChartView.h"
#include "app/ControlLock.h"
#include "app/MainWindow.h"
#include "chart/ChartWidget.h"
#include "log/DataFileCopy.h"
#include "log/DataFileLoader.h"
#include "log/Download.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>

namespace velkor {

namespace {

// The download's progress on the window's bar. The window takes its events only between
// blocks, so each position is drawn at once (SetProgressPosition repaints the bar).
class DownloadProgress final : public ProgressSink {
public:
    explicit DownloadProgress(MainWindow& window) : window_(window) {}
    void ShowProgress(int maximum) override { window_.OnDownloadStarts(maximum); }
    void SetProgress(int position) override { window_.SetProgressPosition(position); }
    void HideProgress() override { window_.SetControlVisible(Control::ProgressBar1, false); }

private:
    MainWindow& window_;
};

// While the log comes in the chart is not drawn: the window takes its events after every block,
// and a repaint would draw the whole chart with every point so far, once per block. The chart
// is drawn once, when the click has ended.
class HoldChartDrawing {
public:
    explicit HoldChartDrawing(QWidget& chart) : chart_(chart) { chart_.setUpdatesEnabled(false); }
    // Enabling schedules a repaint of the chart.
    ~HoldChartDrawing() { chart_.setUpdatesEnabled(true); }
    HoldChartDrawing(const HoldChartDrawing&) = delete;
    HoldChartDrawing& operator=(const HoldChartDrawing&) = delete;

private:
    QWidget& chart_;
};

// A download that receives nothing leaves logger.txt as it was; the chart keeps showing it too.
// The download empties the series before the first block: that is put off until its first
// point, or until the end when the data file was replaced without one.
class KeepChartUntilRecords final : public PlotSink {
public:
    explicit KeepChartUntilRecords(PlotSink& chart) : chart_(chart) {}
    void ClearSeries() override { pending_ = true; }
    void AddPoint(int series, double x, double y, std::uint32_t color) override {
        Flush();
        chart_.AddPoint(series, x, y, color);
    }
    void SetBottomAxisAutomatic() override { chart_.SetBottomAxisAutomatic(); }
    void Finish(bool fileReplaced) {
        if (fileReplaced)
            Flush();
    }

private:
    void Flush() {
        if (pending_)
            chart_.ClearSeries();
        pending_ = false;
    }
    PlotSink& chart_;
    bool pending_ = false;
};

// A file name as the file layer takes it, in the encoding of the file system.
std::string LocalFileName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

const QString DataFileFilter = QStringLiteral("Text Files|*.txt|All Files|*.*");

} // namespace

void MainWindow::Button7Click() {
    DownloadResult result;
    {
        // The hold outlives the lock, whose end takes the events that came meanwhile.
        const HoldChartDrawing hold(Chart1());
        const ControlLock lock(*this);
        ChartPlot chart(Chart1().Chart());
        KeepChartUntilRecords plot(chart);
        DownloadProgress progress(*this);
        // The window repaints and takes Esc and the close button after every block; the
        // clicks meanwhile reach only locked controls.
        const CancelCheck stop = [this] {
            ProcessPendingEvents();
            return StopRequested();
        };
        // An error (the temporary data file cannot be created or written) ends the click here:
        // the bar stays shown and the buttons keep their states; the report shows the error.
        result = DownloadLog(services_.link, services_.pause, services_.settings,
                             services_.dataFile, plot, progress, stop);
        plot.Finish(result.fileReplaced);
    }
    const bool complete =
        result.end == DownloadEnd::Complete && (result.fileReplaced || result.samplesExpected == 0);
    bool archiveFailed = false;
    const QString archived = ArchiveDownload(result, complete, archiveFailed);
    ShowDownloadEnd(result, archived, archiveFailed);
}

void MainWindow::ShowDownloadEnd(const DownloadResult& result, const QString& archived,
                                 bool archiveFailed) {
    // A complete download of what the logger holds ends as it always did; only an archive that
    // could not be written is reported.
    const bool complete =
        result.end == DownloadEnd::Complete && (result.fileReplaced || result.samplesExpected == 0);
    if (complete) {
        OnDownloadFinished();
        if (archiveFailed && !CloseRequested())
            guard_.Report(archived);
        return;
    }
    // Otherwise Read data stays usable for another try, and what did come can be saved.
    SetControlVisible(Control::ProgressBar1, false);
    if (result.fileReplaced)
        OnFileLoaded();
    if (result.end == DownloadEnd::DeviceLost)
        OnDeviceLost();
    // The user who closed the window is not kept by a box; logger.txt holds what came.
    if (CloseRequested())
        return;

    const QString received = QString::number(result.recordsWritten);
    const QString expected = QString::number(result.samplesExpected);
    QString counts = !result.fileReplaced ? Text(RunText::NoSamplesReceived)
                     : result.end == DownloadEnd::Cancelled
                         ? Text(RunText::DownloadCancelled).arg(received, expected)
                         : Text(RunText::LoggerStopped).arg(received, expected);
    if (!archived.isEmpty())
        counts += u'\n' + archived;
    switch (result.end) {
    case DownloadEnd::Cancelled:
        dialogs_.message(counts, guard_.Title());
        break;
    case DownloadEnd::DeviceLost:
        guard_.Report(Text(RunText::DeviceLost)
                          .arg(QString::fromStdString(result.portName),
                               QString::fromLocal8Bit(result.error.c_str())),
                      counts);
        break;
    case DownloadEnd::Complete:
    case DownloadEnd::LoggerSilent:
        guard_.Report(counts);
        break;
    }
}

void MainWindow::Button6Click() {
    QString chosen;
    if (!dialogs_.openFile(FileDialogOptions{openFileName_, QString()}, chosen))
        return;
    openFileName_ = chosen;
    ChartPlot plot(Chart1().Chart());
    // The buttons are enabled once the file is open and its first lines read, also when a
    // later line stops the load with an error.
    LoadDataFile(services_.dataFile, LocalFileName(chosen), plot, [this] { OnFileLoaded(); });
}

void MainWindow::Button3Click() {
    QString chosen;
    if (!dialogs_.saveFile(FileDialogOptions{saveFileName_, DataFileFilter}, chosen))
        return;
    // The save dialog does not ask; an existing file other than the data file itself is
    // replaced only on Yes.
    const QFileInfo target(chosen);
    const QFileInfo source(QFile::decodeName(services_.dataFile.DataFileName.c_str()));
    if (target.exists() && target.canonicalFilePath() != source.canonicalFilePath() &&
        !dialogs_.askYesNo(Text(RunText::ReplaceAsk).arg(QDir::toNativeSeparators(chosen)),
                           TextOf(TextTarget::Button3, language_)))
        return;
    saveFileName_ = chosen;
    // A copy that could not be made is reported, so nobody takes an unsaved log for saved.
    // A copy onto the data file itself leaves it as it is and needs no word.
    const CopyResult result = CopyDataFile(services_.dataFile.DataFileName, LocalFileName(chosen));
    if (result.outcome == CopyOutcome::Failed)
        throw InOutError(result.error);
}

} // namespace velkor
