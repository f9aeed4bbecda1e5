#pragma once
// From a data file to the report's data: the file's samples (every data line, the first two
// included), their summary by analysis/, and the facts of the file and of the logger.

#include "analysis/FileSamples.h"
#include "analysis/Summary.h"
#include "app/report/ReportData.h"

#include <QString>
#include <optional>
#include <span>
#include <vector>

namespace velkor::report {

// What the report says beside the numbers.
struct ReportRequest {
    QString dataFile; // the path read
    Language language = Language::Polish;
    QString title;    // empty: the default title
    QString loggerId; // empty: not shown (the logger's identifier after a download)
    std::optional<LoggerFacts> logger;
    // The archive the samples came from (then loggerId names the logger, dataFile is empty).
    QString archive;
};

// The data lines of a file in time order (equal times in file order) and its bad lines. Raises
// what the data-file reader raises for a file that cannot be read or holds no logger data.
analysis::FileSamples ReadSortedSamples(const QString& fileName);

// The report of `samples` (time order) summarised with `options`; `facts` are the file's bad
// lines, which the report counts.
ReportData MakeReportData(std::span<const analysis::Sample> samples,
                          const analysis::SourceFacts& facts, const analysis::Options& options,
                          const ReportRequest& request);

} // namespace velkor::report
