#pragma once
// The command-line tool's messages in English and Polish.

#include <initializer_list>
#include <string>

namespace velkor::cli {

enum class Lang { English, Polish };

enum class Msg {
    Usage,
    CommandUsagePorts,
    CommandUsageInfo,
    CommandUsageDownload,
    CommandUsageSetClock,
    CommandUsageConfigure,
    CommandUsageErase,
    CommandUsageExport,
    CommandUsageArchive,
    SeeHelp,
    UnknownCommand,
    UnknownOption,
    MissingValue,
    UnexpectedArgument,
    MissingArgument,
    BadLanguage,
    BadPortName,
    BadDateTime,
    BadInterval,
    NoPorts,
    NoLogger,
    BusyPorts,
    PortAbsent,
    PortBusy,
    PortDenied,
    PortCannotOpen,
    NotALogger,
    DeviceLost,
    ReplyUnreadable,
    Failed,
    ZeroInterval,
    EndBeforeStart,
    Configured,
    ClockSet,
    EraseNeedsYes,
    Erasing,
    Erased,
    NotErased,
    DownloadSummary,
    FileUnchanged,
    LoggerSilent,
    DownloadCancelled,
    Remaining,
    Exported,
    BadLinesLeftOut,
    NoLoggerData,
    NotRegularFile,
    FileShrank,
    FileLineError,
    ArchiveSummary,
    ArchiveFailed,
    ArchiveUnreadable,
    ArchiveNotAnArchive,
    ArchiveDamaged,
    ArchiveBusy,
    ArchiveFull,
    ArchiveReadOnly,
    ArchiveCannotOpen,
    ArchiveNewer,
    ArchiveLoginRefused,
    ArchiveKindNotBuilt,
    ArchiveNotBuilt,
    ArchiveNoLogger,
    ArchiveNoDownload,
    ArchiveRemoved,
    ArchiveDamagedReport,
    ArchiveCheckCounts,
    ArchiveListHeader,
    ArchiveDownloadsHeader,
    EraseRefused,
    BadFormat,
    BadDownloadNumber,
};

// The message with {1}, {2}, ... replaced by the arguments.
std::string Text(Lang lang, Msg msg, std::initializer_list<std::string> args = {});

} // namespace velkor::cli
