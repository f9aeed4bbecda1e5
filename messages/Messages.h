#pragma once
// The messages both front ends show, in Polish and English, from one table. A front end's own
// texts (the window's captions, the command line's usage) stay with the front end, but are
// formatted by FormatMessage too.

#include "messages/Language.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace velkor {

enum class Message {
    PortBusy,       // %1 port
    DeviceLost,     // %1 port, %2 the reason
    EndBeforeStart, // settings refused, nothing sent
    ZeroInterval,   // settings refused, nothing sent
    EndTooSoon, // settings refused, nothing sent: the end less than one interval after the start
    SampleCountCapped, // %1 the logger's most samples, %2 the end logging will really reach
    NoSamplesReceived, // %1 data file, left as it was
    LoggerStopped,     // %1 of %2 samples saved in %3
    DownloadCancelled, // %1 of %2 samples saved in %3
    ReplyCut,          // a block stayed cut short when asked again; %1 of %2 samples saved in %3
    NoLoggerData,      // %1 file
    NotRegularFile,    // %1 file
    FileShrank,        // %1 file, shorter than when it was opened
    FileError,         // %1 file, %2 the reason (FileProblemText)
    ErrorLine,         // %1 line number, after a file name
    // The reasons of file errors.
    FileNotFound,
    FileAccessDenied,
    FileIsFolder,
    FileLinkLoop,
    FileDiskFull,
    FileReadOnly,
    FileBusy,
    FileNoDevice,
    FileInOut,
    // The words of the analysis (velkor-cli summary and the window's analysis).
    Temperature,
    Humidity,
    DewPoint,
    Above, // beyond the high limit or threshold
    Below, // beyond the low one
    // The archive.
    ArchiveSummary,    // %1 new samples, %2 already there, %3 conflicting
    ArchiveFailed,     // %1 the archive, %2 the reason: not written
    ArchiveUnreadable, // %1 the archive, %2 the reason
    ArchiveNoLogger,   // %1 the logger
    ArchiveNoDownload, // %1 the download's number
    ArchiveMissing,    // a file to read an archive from is not there
    // Why an archive failed; the database's own words follow in parentheses.
    ArchiveNotAnArchive,
    ArchiveDamaged,
    ArchiveBusy,
    ArchiveFull,
    ArchiveReadOnly,
    ArchiveCannotOpen,
    ArchiveNewer,
    ArchiveLoginRefused,
    ArchiveKindNotBuilt,
};

// UTF-8 text of the message; see FormatMessage for the arguments.
std::string MessageText(Language language, Message message,
                        std::initializer_list<std::string> args = {});

// The message's pattern, before FormatMessage.
const char* MessagePattern(Language language, Message message);

// Fills a pattern: %1 to %9 become the arguments; {N:one|few|many} (Polish) or {N:one|other}
// (English) becomes the form that agrees with the number in argument N.
std::string FormatMessage(std::string_view pattern, Language language,
                          std::span<const std::string> args);

// Which Polish noun form goes with n: 0 for 1 ("próbka"), 1 for 2-4, 22-24, ... ("próbki"),
// 2 for the rest ("próbek").
int PolishPluralForm(long long n);

} // namespace velkor
