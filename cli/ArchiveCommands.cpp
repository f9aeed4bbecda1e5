// velkor-cli archive, and the archive's part in download and erase.

#include "cli/ArchiveCommands.h"

#include "cli/Json.h"
#include "cli/Session.h"
#include "platform/IniFile.h"
#include "velkor/Version.h"

#ifdef VELKOR_HAS_ARCHIVE
#include "archive/Archive.h"
#include "archive/ArchiveCopy.h"
#include "archive/DataFileSamples.h"
#include "log/CsvDialect.h"
#include "log/DataLine.h"
#include "platform/DateTime.h"
#include "platform/DateTimeText.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/TextEscape.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <ostream>
#endif

#include <cstdlib>

namespace velkor::cli {

std::string ArchiveLocation(const Invocation& invocation) {
    if (auto given = invocation.Value("archive")) {
        return *given;
    }
    const std::string settings = ProgramSettingsFile();
    if (!settings.empty()) {
        if (auto set = ReadIniValue(settings, "archive", "location"); set && !set->empty()) {
            return *set;
        }
    }
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data != '\0') {
        return std::string(data) + "/velkor/archive.sqlite";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.local/share/velkor/archive.sqlite";
}

#ifndef VELKOR_HAS_ARCHIVE

bool ArchiveBuilt() {
    return false;
}

int RunArchive(Context& context, const Invocation&) {
    throw Failure(ExitUsage, context.Say(Msg::ArchiveNotBuilt));
}

ArchivedSamples ReadArchivedSamples(Context& context, const Invocation&, const std::string&,
                                    std::optional<double>, std::optional<double>) {
    throw Failure(ExitUsage, context.Say(Msg::ArchiveNotBuilt));
}

ArchivedDownload ArchiveDownload(Context&, const Invocation&, const DownloadDone&) {
    return {};
}

int CheckBeforeErase(Context&, const Invocation&, const LoggerSettings&) {
    return ExitDone;
}

int RecordErase(Context&, const Invocation&, const std::string&, bool) {
    return ExitDone;
}

#else

namespace {

using archive::ArchiveError;
using archive::ArchiveFault;

std::string Reason(const Context& context, const ArchiveError& e) {
    if (e.Fault() == ArchiveFault::NoSuchLogger)
        return context.Say(Message::ArchiveNoLogger, {EscapeForMessage(e.what())});
    if (e.Fault() == ArchiveFault::NoSuchDownload)
        return context.Say(Message::ArchiveNoDownload, {e.what()});
    if (const auto reason = archive::FaultMessage(e.Fault()))
        return context.Say(*reason) + " (" + EscapeForMessage(e.what()) + ")";
    return e.what();
}

// The archive a command only reads: a file that is not there is said to be missing, never
// created empty.
std::unique_ptr<archive::Archive> OpenToRead(const Context& context, const std::string& location) {
    if (archive::ArchiveMissing(location)) {
        throw Failure(ExitFailed, context.Say(Message::ArchiveUnreadable,
                                              {location, context.Say(Message::ArchiveMissing)}));
    }
    return archive::OpenArchive(location);
}

// "The archive X could not be written: why", for download, import and erase.
std::string WriteFailed(const Context& context, const std::string& location,
                        const ArchiveError& e) {
    return context.Say(Message::ArchiveFailed,
                       {archive::LocationForDisplay(location), Reason(context, e)});
}

std::string Summary(const Context& context, const archive::StoreCounts& c) {
    return context.Say(
        Message::ArchiveSummary,
        {std::to_string(c.added), std::to_string(c.alreadyThere), std::to_string(c.conflicting)});
}

archive::DownloadMeta NewMeta(archive::DownloadKind kind) {
    archive::DownloadMeta meta;
    meta.kind = kind;
    meta.storedAt = static_cast<archive::UnixSeconds>(std::time(nullptr));
    meta.program = "velkor-cli";
    meta.version = VELKOR_VERSION;
    return meta;
}

std::string LoggerTime(archive::LoggerSeconds s) {
    return FormatDateTime("yyyy-mm-dd hh:nn:ss", archive::ToDayCount(s));
}

// Times of the computer are kept in UTC.
std::string UtcTime(archive::UnixSeconds s) {
    return LoggerTime(s) + " UTC";
}

template <typename T> std::string JsonOptional(const std::optional<T>& value, auto format) {
    return value ? JsonString(format(*value)) : "null";
}

// "yyyy-mm-dd hh:mm:ss", or a date alone: its first second for --from, its last for --to.
std::optional<archive::LoggerSeconds> TimeOption(const Context& context,
                                                 const Invocation& invocation,
                                                 const std::string& name, bool endOfDay) {
    const auto text = invocation.Value(name);
    if (!text) {
        return std::nullopt;
    }
    std::string full = *text;
    if (full.size() == 10) {
        full += endOfDay ? " 23:59:59" : " 00:00:00";
    }
    const auto value = ParseDateTimeText(full);
    if (!value) {
        throw Failure(ExitUsage, context.Say(Msg::BadDateTime, {*text}));
    }
    return archive::FromDayCount(*value);
}

std::string RequiredLogger(const Context& context, const Invocation& invocation,
                           const std::string& command) {
    const auto logger = invocation.Value("logger");
    if (!logger || logger->empty()) {
        throw Failure(ExitUsage, context.Say(Msg::MissingArgument, {command, "--logger"}));
    }
    return *logger;
}

// The lines go to a temporary file beside `target`, which then replaces it, so that a failure
// leaves the target as it was; without a target, to standard output.
class LinesOut {
public:
    LinesOut(std::ostream& out, const std::optional<std::string>& target) : out_(out) {
        if (target) {
            target_ = *target;
            files::CheckReplaceable(target_);
            temporary_ = files::CreateTemporaryBeside(target_);
        }
    }
    ~LinesOut() {
        if (!temporary_.path.empty() && !done_) {
            temporary_.file = FileHandle();
            files::Remove(temporary_.path);
        }
    }
    LinesOut(const LinesOut&) = delete;
    LinesOut& operator=(const LinesOut&) = delete;

    void Line(const std::string& text) {
        block_ += text;
        block_ += "\r\n";
        if (block_.size() >= 64 * 1024) {
            Flush();
        }
    }
    void Finish() {
        Flush();
        if (target_.empty()) {
            out_.flush();
            return;
        }
        files::FlushToDisk(temporary_.file);
        files::Close(temporary_.file);
        files::Replace(temporary_.path, target_);
        done_ = true;
    }

private:
    void Flush() {
        if (target_.empty()) {
            out_ << block_;
        } else {
            files::Write(temporary_.file, block_.data(), block_.size());
        }
        block_.clear();
    }

    std::ostream& out_;
    std::string target_;
    files::TemporaryFile temporary_;
    std::string block_;
    bool done_ = false;
};

int List(Context& context, archive::Archive& a, const Invocation& invocation) {
    std::ostream& out = context.services.out;
    const auto loggers = a.Loggers();
    if (invocation.Has("json")) {
        out << '[';
        for (std::size_t i = 0; i < loggers.size(); ++i) {
            const auto& l = loggers[i];
            out << (i ? ",\n " : "") << "{\"logger\": " << JsonString(l.id)
                << ", \"label\": " << JsonString(l.label)
                << ", \"first\": " << JsonOptional(l.first, LoggerTime)
                << ", \"last\": " << JsonOptional(l.last, LoggerTime)
                << ", \"samples\": " << l.samples
                << ", \"last_download\": " << JsonOptional(l.lastDownload, UtcTime) << '}';
        }
        out << "]\n";
        return ExitDone;
    }
    out << context.Say(Msg::ArchiveListHeader) << '\n';
    for (const auto& l : loggers) {
        out << EscapeForMessage(l.id) << '\t' << EscapeForMessage(l.label) << '\t'
            << (l.first ? LoggerTime(*l.first) : "-") << '\t'
            << (l.last ? LoggerTime(*l.last) : "-") << '\t' << l.samples << '\t'
            << (l.lastDownload ? UtcTime(*l.lastDownload) : "-") << '\n';
    }
    return ExitDone;
}

bool HoldsLogger(archive::Archive& a, const std::string& logger) {
    for (const auto& l : a.Loggers()) {
        if (l.id == logger) {
            return true;
        }
    }
    return false;
}

int Export(Context& context, archive::Archive& a, const Invocation& invocation) {
    const auto logger = RequiredLogger(context, invocation, "archive export");
    const archive::Period period{TimeOption(context, invocation, "from", false),
                                 TimeOption(context, invocation, "to", true)};
    const std::string format = invocation.Value("format").value_or("data");
    if (format != "data" && format != "csv") {
        throw Failure(ExitUsage, context.Say(Msg::BadFormat, {format}));
    }
    if (!HoldsLogger(a, logger)) {
        throw ArchiveError(ArchiveFault::NoSuchLogger, logger);
    }
    // -o -: standard output, as without -o.
    auto target = invocation.Value("output");
    if (target == "-") {
        target.reset();
    }
    try {
        LinesOut out(context.services.out, target);
        std::int32_t number = 0;
        if (format == "csv") {
            std::string header = CsvStart(CommaCsv);
            header.resize(header.size() - 2); // its CR LF: Line ends lines itself
            out.Line(header);
        }
        a.ReadSamples(logger, period, [&](std::span<const archive::StoredSample> chunk) {
            for (const auto& stored : chunk) {
                const auto& s = stored.sample;
                const double time = archive::ToDayCount(s.time);
                if (format == "csv") {
                    out.Line(CsvLine(CommaCsv, time, s.temperature / 10.0, s.humidity / 10.0));
                    continue;
                }
                const auto d = DecodeDate(time);
                const auto t = DecodeTime(time);
                std::string line = DataLine(++number, d.year, d.month, d.day, t.hour, t.minute,
                                            t.second, s.temperature, s.humidity);
                line.resize(line.size() - 2); // the CR LF comes with Line
                out.Line(line);
            }
        });
        out.Finish();
    } catch (const NotRegularFileError& e) {
        throw Failure(ExitFailed, context.Say(Message::NotRegularFile, {e.fileName()}));
    } catch (const InOutError& e) {
        throw Failure(ExitFailed, (target ? *target + ": " : std::string()) + e.what());
    }
    return ExitDone;
}

int Import(Context& context, archive::Archive& a, const Invocation& invocation,
           const std::string& location) {
    if (invocation.operands.size() != 2) {
        throw Failure(ExitUsage, context.Say(Msg::MissingArgument, {"archive import", "FILE"}));
    }
    const std::string& file = invocation.operands[1];
    const auto logger = RequiredLogger(context, invocation, "archive import");
    archive::DataFileSamples read;
    try {
        read = archive::ReadDataFileSamples(file);
    } catch (const NotRegularFileError& e) {
        throw Failure(ExitFailed, context.Say(Message::NotRegularFile, {e.fileName()}));
    } catch (const NoLoggerDataError& e) {
        throw Failure(ExitFailed, context.Say(Message::NoLoggerData, {e.fileName()}));
    } catch (const DataFileShrankError& e) {
        throw Failure(ExitFailed, context.Say(Message::FileShrank, {e.fileName()}));
    } catch (const LocatedInOutError& e) {
        throw Failure(ExitFailed, e.line > 0
                                      ? context.Say(Msg::FileLineError,
                                                    {e.file, std::to_string(e.line), e.what()})
                                      : e.file + ": " + e.what());
    } catch (const InOutError& e) {
        throw Failure(ExitFailed, file + ": " + e.what());
    }
    auto meta = NewMeta(archive::DownloadKind::Import);
    meta.source = file;
    meta.recordsExpected = static_cast<std::int64_t>(read.counts.dataLines + read.counts.badLines);
    meta.recordsReceived = static_cast<std::int64_t>(read.samples.size());
    meta.complete = read.counts.badLines == 0;
    meta.sha256 = read.sha256;
    archive::StoreCounts counts;
    try {
        counts = a.Store({logger, std::nullopt}, meta, read.samples);
    } catch (const ArchiveError& e) {
        throw Failure(ExitFailed, WriteFailed(context, location, e));
    }
    std::ostream& err = context.services.err;
    err << Summary(context, counts) << '\n';
    if (read.counts.badLines > 0) {
        err << context.Say(Msg::BadLinesLeftOut, {std::to_string(read.counts.badLines),
                                                  std::to_string(read.counts.firstBadLine)})
            << '\n';
        return ExitIncomplete;
    }
    return ExitDone;
}

int Downloads(Context& context, archive::Archive& a, const Invocation& invocation) {
    const auto logger = RequiredLogger(context, invocation, "archive downloads");
    if (!HoldsLogger(a, logger)) {
        throw ArchiveError(ArchiveFault::NoSuchLogger, logger);
    }
    std::ostream& out = context.services.out;
    out << context.Say(Msg::ArchiveDownloadsHeader) << '\n';
    for (const auto& d : a.Downloads(logger)) {
        const auto& m = d.meta;
        const bool isImport = m.kind == archive::DownloadKind::Import;
        out << d.id << '\t' << (isImport ? "import" : "download") << '\t' << UtcTime(m.storedAt)
            << '\t' << EscapeForMessage(m.program + " " + m.version) << '\t'
            << EscapeForMessage(isImport ? m.source : m.port) << '\t' << m.recordsReceived << '\t'
            << m.recordsExpected << '\t' << (m.complete ? "yes" : "no") << '\t' << d.counts.added
            << '\t' << d.counts.alreadyThere << '\t' << d.counts.conflicting << '\t'
            << (m.sha256.empty() ? "-" : m.sha256) << '\n';
    }
    return ExitDone;
}

int Remove(Context& context, archive::Archive& a, const Invocation& invocation) {
    const auto text = invocation.Value("download");
    if (!text) {
        throw Failure(ExitUsage,
                      context.Say(Msg::MissingArgument, {"archive remove", "--download"}));
    }
    std::int64_t id = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), id);
    if (ec != std::errc() || end != text->data() + text->size() || id <= 0) {
        throw Failure(ExitUsage, context.Say(Msg::BadDownloadNumber, {*text}));
    }
    const auto r = a.RemoveDownload(id);
    context.services.err << context.Say(Msg::ArchiveRemoved,
                                        {std::to_string(id), std::to_string(r.samplesRemoved),
                                         std::to_string(r.samplesKept)})
                         << '\n';
    return ExitDone;
}

int Check(Context& context, archive::Archive& a, const std::string& location) {
    const auto c = a.Check();
    const auto shown = archive::LocationForDisplay(location);
    if (!c.intact) {
        std::ostream& err = context.services.err;
        err << "velkor-cli: " << context.Say(Msg::ArchiveDamagedReport, {shown}) << '\n';
        for (const auto& p : c.problems) {
            err << "  " << EscapeForMessage(p) << '\n';
        }
        return ExitFailed;
    }
    context.services.out << context.Say(Msg::ArchiveCheckCounts,
                                        {shown, std::to_string(c.schemaVersion),
                                         std::to_string(c.loggers), std::to_string(c.downloads),
                                         std::to_string(c.samples), std::to_string(c.conflicts),
                                         std::to_string(c.eraseEvents)})
                         << '\n';
    return ExitDone;
}

// copy SOURCE DEST: a file or a server each; a source file must exist, a destination is
// created as the archive always is.
int Copy(Context& context, const Invocation& invocation) {
    const std::string& source = invocation.operands[1];
    const std::string& destination = invocation.operands[2];
    std::unique_ptr<archive::Archive> from;
    try {
        from = OpenToRead(context, source);
    } catch (const ArchiveError& e) {
        throw Failure(ExitFailed,
                      context.Say(Message::ArchiveUnreadable,
                                  {archive::LocationForDisplay(source), Reason(context, e)}));
    }
    try {
        const auto to = archive::OpenArchive(destination);
        const auto c = archive::CopyArchive(*from, *to);
        context.services.out << context.Say(Msg::ArchiveCopied, {std::to_string(c.downloadsCopied),
                                                                 std::to_string(c.samplesAdded),
                                                                 std::to_string(c.erasesCopied),
                                                                 std::to_string(c.downloadsThere)})
                             << '\n';
    } catch (const ArchiveError& e) {
        throw Failure(ExitFailed, WriteFailed(context, destination, e));
    }
    return ExitDone;
}

} // namespace

bool ArchiveBuilt() {
    return true;
}

int RunArchive(Context& context, const Invocation& invocation) {
    if (invocation.operands.empty()) {
        throw Failure(ExitUsage, context.Say(Msg::MissingArgument, {"archive", "COMMAND"}));
    }
    const std::string& sub = invocation.operands[0];
    const std::size_t operands = sub == "import" ? 2 : sub == "label" || sub == "copy" ? 3 : 1;
    static const char* const Known[] = {"list",      "export", "import", "label",
                                        "downloads", "remove", "check",  "copy"};
    if (std::find(std::begin(Known), std::end(Known), sub) == std::end(Known)) {
        throw Failure(ExitUsage, context.Say(Msg::UnknownCommand, {"archive " + sub}));
    }
    if (invocation.operands.size() > operands) {
        throw Failure(ExitUsage,
                      context.Say(Msg::UnexpectedArgument, {invocation.operands[operands]}));
    }
    if (invocation.operands.size() < operands) {
        throw Failure(ExitUsage, context.Say(Msg::MissingArgument,
                                             {"archive " + sub, sub == "import" ? "FILE"
                                                                : sub == "copy" ? "SOURCE DEST"
                                                                                : "ID TEXT"}));
    }
    if (sub == "copy") {
        return Copy(context, invocation);
    }
    const std::string location = ArchiveLocation(invocation);
    try {
        // Only an import makes the archive; an archive not there lists no loggers.
        const auto a = sub == "import" ? archive::OpenArchive(location)
                       : sub == "list" && archive::ArchiveMissing(location)
                           ? archive::OpenArchive(":memory:")
                           : OpenToRead(context, location);
        if (sub == "list") {
            return List(context, *a, invocation);
        }
        if (sub == "export") {
            return Export(context, *a, invocation);
        }
        if (sub == "import") {
            return Import(context, *a, invocation, location);
        }
        if (sub == "label") {
            a->SetLabel(invocation.operands[1], invocation.operands[2]);
            return ExitDone;
        }
        if (sub == "downloads") {
            return Downloads(context, *a, invocation);
        }
        if (sub == "remove") {
            return Remove(context, *a, invocation);
        }
        return Check(context, *a, location);
    } catch (const ArchiveError& e) {
        throw Failure(ExitFailed,
                      context.Say(Message::ArchiveUnreadable,
                                  {archive::LocationForDisplay(location), Reason(context, e)}));
    }
}

ArchivedSamples ReadArchivedSamples(Context& context, const Invocation& invocation,
                                    const std::string& logger, std::optional<double> from,
                                    std::optional<double> to) {
    const std::string location = ArchiveLocation(invocation);
    ArchivedSamples result;
    result.location = archive::LocationForDisplay(location);
    try {
        result.samples =
            archive::ReadAnalysisSamples(*OpenToRead(context, location), logger, from, to);
    } catch (const ArchiveError& e) {
        throw Failure(ExitFailed, context.Say(Message::ArchiveUnreadable,
                                              {result.location, Reason(context, e)}));
    }
    return result;
}

ArchivedDownload ArchiveDownload(Context& context, const Invocation& invocation,
                                 const DownloadDone& done) {
    if (invocation.Has("no-archive")) {
        return {};
    }
    const std::string location = ArchiveLocation(invocation);
    ArchivedDownload archived;
    try {
        const auto counts = archive::StoreDownload(
            *archive::OpenArchive(location), NewMeta(archive::DownloadKind::Download),
            done.settings, done.port, done.result, done.complete, done.fileName);
        archived.stored = true;
        archived.added = counts.added;
        archived.alreadyThere = counts.alreadyThere;
        archived.conflicting = counts.conflicting;
        archived.line = Summary(context, counts);
        return archived;
    } catch (const ArchiveError& e) {
        archived.line = "velkor-cli: " + WriteFailed(context, location, e);
    } catch (const std::exception& e) {
        // The data file could not be read back: it was there a moment ago.
        archived.line =
            "velkor-cli: " +
            context.Say(Message::ArchiveFailed, {archive::LocationForDisplay(location), e.what()});
    }
    archived.code = ExitArchiveFailed;
    return archived;
}

int CheckBeforeErase(Context& context, const Invocation& invocation,
                     const LoggerSettings& settings) {
    if (invocation.Has("force")) {
        return ExitDone;
    }
    const std::string location = ArchiveLocation(invocation);
    std::int64_t missing = 0;
    try {
        missing = archive::SamplesOutsideArchive(*archive::OpenArchive(location), settings);
    } catch (const ArchiveError& e) {
        // Unread, the archive protects nothing: every sample the logger holds counts.
        context.services.err << "velkor-cli: "
                             << context.Say(
                                    Message::ArchiveUnreadable,
                                    {archive::LocationForDisplay(location), Reason(context, e)})
                             << '\n';
        missing = archive::SamplesHeld(archive::SettingsOf(settings));
    }
    if (missing <= 0) {
        return ExitDone;
    }
    context.services.err << "velkor-cli: "
                         << context.Say(Msg::EraseRefused, {std::to_string(missing)}) << '\n';
    return ExitEraseRefused;
}

int RecordErase(Context& context, const Invocation& invocation, const std::string& logger,
                bool confirmed) {
    const std::string location = ArchiveLocation(invocation);
    try {
        archive::OpenArchive(location)->RecordErase(
            {logger, static_cast<archive::UnixSeconds>(std::time(nullptr)), confirmed});
        return ExitDone;
    } catch (const ArchiveError& e) {
        context.services.err << "velkor-cli: " << WriteFailed(context, location, e) << '\n';
        return ExitArchiveFailed;
    }
}

#endif

} // namespace velkor::cli
