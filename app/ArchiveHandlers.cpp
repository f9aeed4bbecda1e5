// The window's part in the archive: every download goes in after its data file is written, and
// the erase question warns when the logger holds samples the archive lacks. Without an archive
// (Services::archive empty) the window is as specified.

#include "app/ArchiveDialog.h"
#include "app/ChartMenu.h"
#include "app/ChartView.h"
#include "app/MainWindow.h"
#include "archive/Archive.h"
#include "archive/DataFileSamples.h"
#include "chart/ChartWidget.h"
#include "log/DataFileLoader.h"
#include "log/DataFileState.h"
#include "log/DataLine.h"
#include "log/Download.h"
#include "log/Sinks.h"
#include "platform/DateTime.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "velkor/Version.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <array>
#include <ctime>

namespace velkor {

namespace {

QString Shown(const std::string& location) {
    return QString::fromStdString(archive::LocationForDisplay(location));
}

// Eight loggers in distinct colours: a darker line for the temperature, a lighter one of the
// same hue for the humidity.
constexpr std::array<std::array<std::uint32_t, 2>, MaxArchiveLoggers> LoggerColors{{
    {chart::Rgb(200, 0, 0), chart::Rgb(255, 140, 140)},
    {chart::Rgb(0, 0, 200), chart::Rgb(120, 150, 255)},
    {chart::Rgb(0, 130, 0), chart::Rgb(120, 210, 120)},
    {chart::Rgb(150, 0, 170), chart::Rgb(220, 140, 230)},
    {chart::Rgb(200, 110, 0), chart::Rgb(250, 190, 100)},
    {chart::Rgb(0, 140, 150), chart::Rgb(110, 210, 215)},
    {chart::Rgb(110, 80, 40), chart::Rgb(190, 160, 120)},
    {chart::Rgb(80, 80, 80), chart::Rgb(170, 170, 170)},
}};

} // namespace

QString ArchiveErrorReason(const archive::ArchiveError& e, Language language) {
    const auto reason = archive::FaultMessage(e.Fault());
    if (!reason)
        return QString::fromUtf8(e.what());
    return QString::fromStdString(MessageText(language, *reason)) + QStringLiteral(" (") +
           QString::fromUtf8(e.what()) + u')';
}

QString ArchiveUnreadableText(const std::string& location, const archive::ArchiveError& e,
                              Language language) {
    return TextOf(Message::ArchiveUnreadable, language,
                  {Shown(location), ArchiveErrorReason(e, language)});
}

std::vector<analysis::Sample> ReadShownLogger(const ShownArchive& shown, const std::string& logger,
                                              Language language) {
    try {
        return archive::ReadAnalysisSamples(*archive::OpenArchive(shown.location), logger,
                                            shown.period);
    } catch (const archive::ArchiveError& e) {
        throw InOutError(ArchiveUnreadableText(shown.location, e, language).toStdString());
    }
}

QString ArchivedLoggerName(const archive::LoggerSummary& logger) {
    return QString::fromStdString(logger.label.empty() ? logger.id : logger.label);
}

QString MainWindow::ArchiveDownload(const DownloadResult& result, bool complete, bool& failed) {
    failed = false;
    const std::string& location = services_.archive;
    if (location.empty())
        return {};
    archive::DownloadMeta meta;
    meta.storedAt = static_cast<archive::UnixSeconds>(std::time(nullptr));
    meta.program = "velkor";
    meta.version = VELKOR_VERSION;
    // A lost device has closed the port by now; the result names it.
    const std::string port = result.portName.empty() ? services_.link.PortName() : result.portName;
    try {
        const auto counts =
            archive::StoreDownload(*archive::OpenArchive(location), meta, services_.settings, port,
                                   result, complete, services_.dataFile.DataFileName);
        return Text(Message::ArchiveSummary,
                    {QString::number(counts.added), QString::number(counts.alreadyThere),
                     QString::number(counts.conflicting)});
    } catch (const archive::ArchiveError& e) {
        failed = true;
        return Text(Message::ArchiveFailed, {Shown(location), ArchiveErrorReason(e, language_)});
    } catch (const std::exception& e) {
        // The data file could not be read back.
        failed = true;
        return Text(Message::ArchiveFailed, {Shown(location), QString::fromUtf8(e.what())});
    }
}

std::int64_t MainWindow::SamplesOutsideArchive() {
    const std::string& location = services_.archive;
    if (location.empty())
        return 0;
    try {
        return archive::SamplesOutsideArchive(*archive::OpenArchive(location), services_.settings);
    } catch (const archive::ArchiveError&) {
        // An archive that cannot be read protects nothing.
        return archive::SamplesHeld(archive::SettingsOf(services_.settings));
    }
}

QString MainWindow::RecordErase(bool confirmed) {
    const std::string& location = services_.archive;
    if (location.empty())
        return {};
    try {
        archive::OpenArchive(location)->RecordErase(
            {services_.settings.Identifier, static_cast<archive::UnixSeconds>(std::time(nullptr)),
             confirmed});
        return {};
    } catch (const archive::ArchiveError& e) {
        return Text(RunText::ArchiveEraseFailed)
            .arg(Shown(location), ArchiveErrorReason(e, language_));
    }
}

void MainWindow::ArchiveClick() {
    const std::string& location = services_.archive;
    if (location.empty())
        return;
    std::unique_ptr<archive::Archive> opened;
    std::vector<archive::LoggerSummary> loggers;
    try {
        opened = archive::OpenArchive(location);
        loggers = opened->Loggers();
    } catch (const archive::ArchiveError& e) {
        guard_.Report(ArchiveUnreadableText(location, e, language_));
        return;
    }
    if (loggers.empty()) {
        dialogs_.message(Text(RunText::ArchiveEmpty).arg(Shown(location)), guard_.Title());
        return;
    }
    ArchiveDialog dialog(loggers, language_, this);
    const bool chosen =
        runArchiveDialog ? runArchiveDialog(dialog) : dialog.exec() == QDialog::Accepted;
    const ArchiveChoice choice = dialog.Choice();
    if (!chosen || choice.loggers.empty())
        return;
    if (choice.action == ArchiveChoice::Action::OpenAsData)
        OpenArchiveAsData(*opened, choice);
    else
        ShowArchiveChart(*opened, choice);
}

void MainWindow::ShowArchiveChart(archive::Archive& archive, const ArchiveChoice& choice) {
    chart::Chart& chart = Chart1().Chart();
    RestoreDataFileLines(); // the analysis follows when these loggers are shown
    // The specified lines and the dew point (the analysis's) are hidden meanwhile; the dew
    // point's place is kept so that the loggers' lines come after it.
    activeBeforeArchive_ = {SeriesActive(Series::Series1), SeriesActive(Series::Series2)};
    dewPointBeforeArchive_ = HasDewPointSeries(chart);
    dewPointActiveBeforeArchive_ = dewPointBeforeArchive_ && chart.Series(DewPointSeries).Active();
    AddDewPointSeries(chart, language_).SetActive(false);
    shownArchive_ = std::make_unique<ShownArchive>(
        ShownArchive{services_.archive, choice.period, choice.loggers, ++archiveShowings_});
    SetSeriesActive(Series::Series1, false);
    SetSeriesActive(Series::Series2, false);
    for (std::size_t n = FirstArchiveSeries; n < FirstArchiveSeries + 2 * choice.loggers.size();
         ++n)
        ConfigureSeries(chart.AddSeries(QStringLiteral("Archive%1").arg(n)),
                        LoggerColors[(n - FirstArchiveSeries) / 2 % MaxArchiveLoggers]
                                    [(n - FirstArchiveSeries) % 2]);
    for (std::size_t k = 0; k < choice.loggers.size(); ++k) {
        const auto& logger = choice.loggers[k];
        chart::LineSeries& temperature = chart.Series(FirstArchiveSeries + 2 * k);
        chart::LineSeries& humidity = chart.Series(FirstArchiveSeries + 1 + 2 * k);
        temperature.SetTitle(Text(RunText::ArchiveTemperature).arg(ArchivedLoggerName(logger)));
        humidity.SetTitle(Text(RunText::ArchiveHumidity).arg(ArchivedLoggerName(logger)));
        archive.ReadSamples(
            logger.id, choice.period, [&](std::span<const archive::StoredSample> chunk) {
                for (const auto& s : chunk) {
                    const double x = archive::ToDayCount(s.sample.time);
                    temperature.AddXY(x, s.sample.temperature / 10.0, QString(), DefaultPointColor);
                    humidity.AddXY(x, s.sample.humidity / 10.0, QString(), DefaultPointColor);
                }
            });
        // A logger without a humidity sensor has no humidity line.
        if (logger.humiditySensor == false)
            humidity.Clear();
    }
    ShowArchiveSeries(chart, TemperatureSeries, IsChecked(Control::CheckBox1));
    ShowArchiveSeries(chart, HumiditySeries, IsChecked(Control::CheckBox2));
    // In the unit the analysis shows the temperatures in.
    SetFahrenheit(chart, ShowsFahrenheit(chart));
    SetBottomAxisAutomatic();
    // The analysis follows: it now covers one of these loggers.
    if (auto* menu = Chart1().findChild<ChartMenu*>())
        menu->ArchiveViewChanged();
}

void MainWindow::LeaveArchiveView() {
    if (!shownArchive_)
        return;
    RestoreDataFileLines();
    if (auto* menu = Chart1().findChild<ChartMenu*>())
        menu->ArchiveViewChanged();
}

void MainWindow::RestoreDataFileLines() {
    if (!shownArchive_)
        return;
    chart::Chart& chart = Chart1().Chart();
    while (chart.SeriesCount() > FirstArchiveSeries)
        chart.RemoveSeries(chart.SeriesCount() - 1);
    if (dewPointBeforeArchive_)
        chart.Series(DewPointSeries).SetActive(dewPointActiveBeforeArchive_);
    else
        RemoveDewPointSeries(chart);
    SetSeriesActive(Series::Series1, activeBeforeArchive_[0]);
    SetSeriesActive(Series::Series2, activeBeforeArchive_[1]);
    shownArchive_.reset();
}

// The logger's period as a data file, numbered from 1, loaded as Read from file loads a file:
// the chart is then the specified chart of that file.
void MainWindow::OpenArchiveAsData(archive::Archive& archive, const ArchiveChoice& choice) {
    const auto& logger = choice.loggers.front();
    QTemporaryFile file(QDir::temp().filePath(
        QStringLiteral("velkor-%1-XXXXXX.txt").arg(QString::fromStdString(logger.id))));
    file.setAutoRemove(false);
    if (!file.open())
        throw InOutError(file.fileName().toStdString() + ": " + file.errorString().toStdString());
    std::int32_t number = 0;
    archive.ReadSamples(
        logger.id, choice.period, [&](std::span<const archive::StoredSample> chunk) {
            std::string block;
            for (const auto& s : chunk) {
                const double time = archive::ToDayCount(s.sample.time);
                const auto d = DecodeDate(time);
                const auto t = DecodeTime(time);
                block += DataLine(++number, d.year, d.month, d.day, t.hour, t.minute, t.second,
                                  s.sample.temperature, s.sample.humidity);
            }
            if (file.write(block.data(), static_cast<qint64>(block.size())) !=
                static_cast<qint64>(block.size()))
                throw InOutError(file.fileName().toStdString() + ": " +
                                 file.errorString().toStdString());
        });
    file.close();
    LeaveArchiveView();
    openFileName_ = file.fileName();
    ChartPlot plot(Chart1().Chart());
    LoadDataFile(services_.dataFile, QFile::encodeName(file.fileName()).toStdString(), plot,
                 [this] { OnFileLoaded(); });
}

} // namespace velkor
