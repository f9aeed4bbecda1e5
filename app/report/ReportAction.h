#pragma once
// The window's "Raport PDF..." ("PDF report..."): the report of the data file the chart shows,
// or of one of the archived loggers it shows, summarised with the analysis settings, saved
// where the user chooses.

#include "analysis/Summary.h"
#include "app/report/ReportData.h"
#include "messages/Language.h"

#include <QString>
#include <optional>
#include <string>

namespace velkor {
class Dialogs;
struct LoggerSettings;
struct ShownArchive;
} // namespace velkor

namespace velkor::report {

// What the logger told at the download, when `dataFileName` is the download's file and a
// logger has been read; nothing otherwise (a file loaded from disk).
std::optional<LoggerFacts> DownloadedLoggerFacts(const std::string& dataFileName,
                                                 const LoggerSettings& settings);

// Asks for the report's file name (proposed in `folder`, which then keeps the folder chosen),
// reads `dataFile`, and writes the report of the period of `options`. Errors are raised with
// the file's name for the window's error report. Returns false when the user cancelled.
bool SaveReport(Dialogs& dialogs, Language language, const std::string& dataFile,
                const analysis::Options& options, const std::optional<LoggerFacts>& logger,
                QString& folder);

// The same for the archived logger `logger` of those the chart shows, over the period they are
// shown for: no facts of a download. A period without its samples is an error, raised before
// a file name is asked for; so is an archive that cannot be read.
bool SaveArchiveReport(Dialogs& dialogs, Language language, const ShownArchive& shown,
                       const std::string& logger, const analysis::Options& options,
                       QString& folder);

} // namespace velkor::report
