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
    EndTooSoon,
    SampleCountCapped,
    Configured,
    ClockSet,
    EraseNeedsYes,
    Erasing,
    Erased,
    NotErased,
    DownloadSummary,
    FileUnchanged,
    LoggerSilent,
    ReplyCut,
    DownloadCancelled,
    Remaining,
    Exported,
};

// The message with {1}, {2}, ... replaced by the arguments, each escaped for the terminal as
// EscapeForMessage does (control bytes and invalid UTF-8 as \xNN).
std::string Text(Lang lang, Msg msg, std::initializer_list<std::string> args = {});

} // namespace velkor::cli
