#pragma once
// The archive in velkor-cli: the archive command, and what download and erase do with it. A
// build without the archive (Windows) keeps these: the archive command says so, download says
// nothing about it, erase checks nothing.

#include "analysis/Summary.h"
#include "cli/Cli.h"
#include "cli/Options.h"
#include "link/LoggerSettings.h"
#include "log/Download.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkor::cli {

int RunArchive(Context& context, const Invocation& invocation);

// False in a build without the archive.
bool ArchiveBuilt();

// Where the archive is: --archive, else the one set in the window's velkor.conf, else
// $XDG_DATA_HOME/velkor/archive.sqlite (~/.local/share when the variable is unset).
std::string ArchiveLocation(const Invocation& invocation);

struct ArchivedSamples {
    std::string location;                  // as it may be shown
    std::vector<analysis::Sample> samples; // in time order; times as day counts
};

// The archived samples of `logger` from `from` to `to` (day counts, both ends included, absent:
// open), for the summary and the report. Raises Failure: ExitUsage in a build without the
// archive, ExitFailed when the archive cannot be read.
ArchivedSamples ReadArchivedSamples(Context& context, const Invocation& invocation,
                                    const std::string& logger, std::optional<double> from,
                                    std::optional<double> to);

struct DownloadDone {
    const LoggerSettings& settings; // as read before the download
    std::string port;
    const DownloadResult& result;
    bool complete = false;
    std::string fileName;
};

// What the archive made of a download: its exit code (ExitDone, or ExitArchiveFailed), when
// stored the counts, and the line to print: the counts, or why the archive failed.
struct ArchivedDownload {
    int code = ExitDone;
    bool stored = false;
    std::int64_t added = 0, alreadyThere = 0, conflicting = 0;
    std::string line; // "Archive: new samples: ..." or "velkor-cli: The archive ... could not be"
};

// After the data file is written: stores the download (complete or not) in one transaction.
// Prints nothing: the caller tells the counts after the download's own message (or leaves them
// out with --quiet), and a failure always. Nothing with --no-archive, or in a build without the
// archive.
ArchivedDownload ArchiveDownload(Context& context, const Invocation& invocation,
                                 const DownloadDone& done);

// Before an erase: ExitDone to go on, or ExitEraseRefused after saying how many samples the
// archive lacks (also when the archive cannot be read). --force goes on regardless.
int CheckBeforeErase(Context& context, const Invocation& invocation,
                     const LoggerSettings& settings);

// After an erase: records the event. ExitDone, or ExitArchiveFailed after saying why.
int RecordErase(Context& context, const Invocation& invocation, const std::string& logger,
                bool confirmed);

} // namespace velkor::cli
