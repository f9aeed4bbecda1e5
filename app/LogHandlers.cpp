// The measurement log in the window: download the log (Read data), load a data file (Read from
// file) and save a copy of the current data file (Save in file). The work itself is log/'s;
// here the chart, the progress bar, the buttons and the file dialogs take part.

#include "app/ChartView.h"
#include "app/MainWindow.h"
#include "chart/ChartWidget.h"
#include "log/DataFileCopy.h"
#include "log/DataFileLoader.h"
#include "log/Download.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QFile>

#include <string>

namespace velkor {

namespace {

// The download's progress on the window's bar. The download takes no window events while it
// runs, so each position is drawn at once (SetProgressPosition repaints the bar).
class DownloadProgress final : public ProgressSink {
public:
    explicit DownloadProgress(MainWindow& window) : window_(window) {}
    void ShowProgress(int maximum) override { window_.OnDownloadStarts(maximum); }
    void SetProgress(int position) override { window_.SetProgressPosition(position); }
    void HideProgress() override { window_.SetControlVisible(Control::ProgressBar1, false); }

private:
    MainWindow& window_;
};

// While the log comes in the chart is not drawn: a repaint of the progress bar draws whatever
// else of the window waits to be drawn, which would be the whole chart with every point so far,
// once per block. The chart is drawn once, when the click has ended.
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

// A file name as the file layer takes it, in the encoding of the file system.
std::string LocalFileName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

const QString DataFileFilter = QStringLiteral("Text Files|*.txt|All Files|*.*");

} // namespace

void MainWindow::Button7Click() {
    const HoldChartDrawing hold(Chart1());
    ChartPlot plot(Chart1().Chart());
    DownloadProgress progress(*this);
    // An error (the data file cannot be created or written, the port went away) ends the click
    // here: the bar stays shown and the buttons keep their states; the report shows the error.
    DownloadLog(services_.link, services_.pause, services_.settings, services_.dataFile, plot,
                progress);
    OnDownloadFinished();
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
    saveFileName_ = chosen;
    // A copy that could not be made is reported, so nobody takes an unsaved log for saved.
    // A copy onto the data file itself leaves it as it is and needs no word.
    const CopyResult result = CopyDataFile(services_.dataFile.DataFileName, LocalFileName(chosen));
    if (result.outcome == CopyOutcome::Failed)
        throw InOutError(result.error);
}

} // namespace velkor
