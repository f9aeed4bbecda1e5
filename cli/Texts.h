#pragma once
// The command-line tool's own messages in English and Polish; the messages it shares with the
// window come from messages/Messages.h.

#include "messages/Language.h"
#include "messages/Messages.h"

#include <initializer_list>
#include <string>

namespace velkor::cli {

enum class Msg {
    UsageHead,
    UsageTail,
    SeeHelp,
    UnknownCommand,
    UnknownOption,
    MissingValue,
    UnexpectedArgument,
    MissingArgument,
    BadLanguage,
    BadDialect,
    BadPortName,
    BadDateTime,
    BadInterval,
    NoPorts,
    NoLogger,
    BusyPorts,
    PortAbsent,
    PortDenied,
    PortCannotOpen,
    NotALogger,
    ReplyUnreadable,
    Failed,
    Configured,
    ClockSet,
    EraseNeedsYes,
    Erasing,
    Erased,
    NotErased,
    DownloadSummary,
    Remaining,
    Exported,
    BadLinesLeftOut,
    FileLineError,
    ArchiveNotBuilt,
    ArchiveRemoved,
    ArchiveDamagedReport,
    ArchiveCheckCounts,
    ArchiveListHeader,
    ArchiveDownloadsHeader,
    EraseRefused,
    BadFormat,
    BadDownloadNumber,
    CsvIsDataFile,
    // summary
    BadRule,
    BadNumber,
    BadProfile,
    LimitsInverted,
    NoSamplesInPeriod,
    SummaryFile,
    SummaryLogger,
    SummaryArchive,
    FileOrArchiveLogger,
    NoArchivedSamples,
    SummarySamples,
    SummaryPeriod,
    SummaryInterval,
    SummaryGaps,
    SummaryGap,
    SummaryHeader,
    SummaryLimits,
    SummaryHumidityLimits,
    SummaryTimeOutside,
    SummaryExcursionHeader,
    SummaryAlarms,
    SummaryFired,
    SummaryNotFired,
    ArchiveCopied,
};

// The message with %1, %2, ... replaced by the arguments (FormatMessage), each escaped for the
// terminal as EscapeForMessage does (control bytes and invalid UTF-8 as \xNN).
std::string Text(Language language, Msg msg, std::initializer_list<std::string> args = {});
// A message of the catalogue shared with the window.
std::string Text(Language language, Message message, std::initializer_list<std::string> args = {});

} // namespace velkor::cli
