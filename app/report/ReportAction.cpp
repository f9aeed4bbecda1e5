#include "app/report/ReportAction.h"

#include "app/ArchiveDialog.h"
#include "app/report/ReportPdf.h"
#include "app/report/ReportSummary.h"
#include "app/report/ReportText.h"
#include "link/LoggerSettings.h"
#include "log/DataFileState.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace velkor::report {

std::optional<LoggerFacts> DownloadedLoggerFacts(const std::string& dataFileName,
                                                 const LoggerSettings& settings) {
    if (dataFileName != DefaultDataFileName || settings.Identifier.empty())
        return std::nullopt;
    LoggerFacts facts;
    facts.identifier = QString::fromStdString(settings.Identifier);
    facts.batteryMillivolts = settings.BatteryMillivolts;
    facts.intervalSeconds = std::llround(settings.Interval * 86400);
    facts.loggingStart = settings.LoggingStart;
    facts.sampleCount = settings.SampleCount;
    return facts;
}

namespace {

// The report's file as the save dialog answers, ".pdf" added when missing; empty: cancelled.
QString AskReportFile(Dialogs& dialogs, Language language, QString& folder) {
    const QString name = WordOf(Word::SaveName, language);
    FileDialogOptions dialog;
    dialog.presetName = folder.isEmpty() ? name : QDir(folder).filePath(name);
    dialog.filter = WordOf(Word::SaveFilter, language);
    QString fileName;
    if (!dialogs.saveFile(dialog, fileName))
        return {};
    folder = QFileInfo(fileName).absolutePath();
    if (QFileInfo(fileName).suffix().toLower() != QLatin1String("pdf"))
        fileName += QStringLiteral(".pdf");
    return fileName;
}

} // namespace

bool SaveReport(Dialogs& dialogs, Language language, const std::string& dataFile,
                const analysis::Options& options, const std::optional<LoggerFacts>& logger,
                QString& folder) {
    const QString fileName = AskReportFile(dialogs, language, folder);
    if (fileName.isEmpty())
        return false;

    ReportRequest request;
    request.dataFile = QString::fromStdString(dataFile);
    request.language = language;
    request.logger = logger;
    if (logger)
        request.loggerId = logger->identifier;
    const analysis::FileSamples file = ReadSortedSamples(request.dataFile);
    const ReportData data = MakeReportData(file.samples, file.facts, options, request);
    if (data.samples == 0)
        throw NoLoggerDataError(dataFile);
    WriteReport(data, fileName);
    return true;
}

bool SaveArchiveReport(Dialogs& dialogs, Language language, const ShownArchive& shown,
                       const std::string& logger, const analysis::Options& options,
                       QString& folder) {
    ReportRequest request;
    request.language = language;
    request.loggerId = QString::fromStdString(logger);
    request.archive = QString::fromStdString(archive::LocationForDisplay(shown.location));
    const ReportData data =
        MakeReportData(ReadShownLogger(shown, logger, language), {}, options, request);
    if (data.samples == 0)
        throw InOutError(WordOf(Word::ArchiveNoSamples, language)
                             .arg(request.archive, request.loggerId)
                             .toStdString());
    const QString fileName = AskReportFile(dialogs, language, folder);
    if (fileName.isEmpty())
        return false;
    WriteReport(data, fileName);
    return true;
}

} // namespace velkor::report
