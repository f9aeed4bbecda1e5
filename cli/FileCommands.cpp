// download, export and ports.

#include "cli/ArchiveCommands.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Session.h"
#include "cli/TerminalProgress.h"
#include "log/CsvExport.h"
#include "log/DataFileState.h"
#include "log/Download.h"
#include "platform/Errors.h"
#include "platform/SystemSerialPorts.h"
#include "platform/TextEscape.h"
#include "platform/Utf8Path.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <random>
#include <system_error>

namespace velkor::cli {

namespace {

// The command-line tool has no chart.
class NoPlot final : public PlotSink {
public:
    void ClearSeries() override {}
    void AddPoint(int, double, double, std::uint32_t) override {}
    void SetBottomAxisAutomatic() override {}
};

// "-o -": the data goes to standard output, and what would go there besides it (the JSON
// summary) goes to standard error.
bool ToStandardOutput(const std::optional<std::string>& output) {
    return output && *output == "-";
}

std::ostream& SummaryStream(Context& context, bool dataOnStdout) {
    return dataOnStdout ? context.services.err : context.services.out;
}

const char* EndName(DownloadEnd end) {
    switch (end) {
    case DownloadEnd::Complete:
        return "complete";
    case DownloadEnd::LoggerSilent:
        return "logger_silent";
    case DownloadEnd::ReplyCut:
        return "reply_cut";
    case DownloadEnd::Cancelled:
        return "cancelled";
    case DownloadEnd::DeviceLost:
        return "device_lost";
    }
    return "unknown";
}

// A folder of its own in the system's temporary folder, removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (unsigned n = 0;; ++n) {
            path_ = base / ("velkor-cli-" + std::to_string(std::random_device{}()) + "-" +
                            std::to_string(n));
            if (std::filesystem::create_directory(path_))
                return;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Copies the downloaded file to standard output as it is.
void CopyToStream(const std::filesystem::path& file, std::ostream& out) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw InOutError(Utf8Name(file) + ": cannot be read back");
    out << in.rdbuf();
    if (!out.flush())
        throw InOutError("-: write error");
}

} // namespace

std::string CsvNameFor(const std::string& dataFile) {
    std::filesystem::path name = Utf8Path(dataFile);
    name.replace_extension(".csv");
    return Utf8Name(name);
}

int RunDownload(Context& context, const Invocation& invocation) {
    const bool toStdout = ToStandardOutput(invocation.Value("output"));
    const bool quiet = invocation.Has("quiet");
    const bool json = invocation.Has("json");
    // With -o - the download writes a scratch file, copied to standard output at the end.
    std::optional<ScratchFolder> scratch;
    if (toStdout)
        scratch.emplace();
    const std::string fileName = toStdout
                                     ? Utf8Name(scratch->Path() / DefaultDataFileName)
                                     : invocation.Value("output").value_or(DefaultDataFileName);
    const std::string shownName = toStdout ? "-" : fileName;
    Session session(context);
    session.Open(invocation.Value("port"));
    // The download needs the sample count and the logging start, as after the window's Connect.
    session.ReadSettings();

    if (context.services.catchInterrupt)
        context.services.catchInterrupt();
    NoPlot plot;
    DownloadBar bar(context.services.err, context.services.errIsTerminal && !quiet, context.lang);
    DataFileState dataFile;
    const CancelCheck cancel = [&context] {
        return context.services.interrupted && context.services.interrupted();
    };
    const DownloadResult result =
        DownloadLog(session.Link(), context.services.pause, session.Settings(), dataFile, plot, bar,
                    cancel, fileName);
    bar.HideProgress();

    // Every download goes into the archive once its data file is written, complete or not; its
    // counts, or why it failed, follow the download's own message.
    const bool complete = result.IsComplete();
    const ArchivedDownload archived = ArchiveDownload(
        context, invocation,
        DownloadDone{session.Settings(), session.PortName(), result, complete, fileName});

    // The same words as the window's: a download that ended early says what was kept where.
    std::ostream& err = context.services.err;
    const std::string received = std::to_string(result.recordsWritten);
    const std::string expected = std::to_string(result.samplesExpected);
    if (result.end == DownloadEnd::DeviceLost)
        err << context.Say(Message::DeviceLost, {result.portName, result.error}) << '\n';
    if (toStdout && result.fileReplaced)
        CopyToStream(Utf8Path(fileName), context.services.out);
    if (json) {
        // The summary for scripts: its "end" and "file_written" say what the texts below say;
        // "archive" holds the archive's counts, null when the download was not archived.
        JsonObject summary;
        summary.String("file", shownName)
            .String("port", session.PortName())
            .Number("records", static_cast<std::uint64_t>(result.recordsWritten))
            .Number("expected", result.samplesExpected)
            .Bool("file_written", result.fileReplaced)
            .String("end", EndName(result.end));
        if (archived.stored)
            summary.Object(
                "archive",
                JsonObject()
                    .Number("new", static_cast<std::uint64_t>(archived.added))
                    .Number("already_there", static_cast<std::uint64_t>(archived.alreadyThere))
                    .Number("conflicting", static_cast<std::uint64_t>(archived.conflicting)));
        else
            summary.Null("archive");
        SummaryStream(context, toStdout) << summary.Text() << '\n';
        if (archived.code != ExitDone)
            err << archived.line << '\n';
    } else {
        if (!result.fileReplaced) {
            err << context.Say(Message::NoSamplesReceived, {shownName}) << '\n';
        } else if (result.end == DownloadEnd::Cancelled) {
            err << context.Say(Message::DownloadCancelled, {received, expected, shownName}) << '\n';
        } else if (result.end == DownloadEnd::ReplyCut) {
            err << context.Say(Message::ReplyCut, {received, expected, shownName}) << '\n';
        } else if (result.end != DownloadEnd::Complete) {
            err << context.Say(Message::LoggerStopped, {received, expected, shownName}) << '\n';
        } else if (!quiet) {
            // The summary of a complete download; --quiet leaves it out.
            err << context.Say(Msg::DownloadSummary, {received, expected, shownName}) << '\n';
        }
        // The archive's line belongs to the download's end message; --quiet leaves it out
        // where it leaves that message out.
        if (archived.code != ExitDone ||
            (archived.stored && (!quiet || result.end != DownloadEnd::Complete)))
            err << archived.line << '\n';
    }

    const int code = result.end == DownloadEnd::DeviceLost ? ExitFailed
                     : complete                            ? ExitDone
                                                           : ExitIncomplete;
    return CombineExitCodes(code, archived.code);
}

int RunExport(Context& context, const Invocation& invocation) {
    const std::string& dataFile = invocation.operands.at(0);
    const bool toStdout = ToStandardOutput(invocation.Value("output"));
    const std::string csvFile =
        toStdout ? "-" : invocation.Value("output").value_or(CsvNameFor(dataFile));
    const std::string dialectName = invocation.Value("dialect").value_or("rfc");
    if (dialectName != "rfc" && dialectName != "pl")
        throw Failure(ExitUsage, context.Say(Msg::BadDialect, {dialectName}));
    const CsvDialect& dialect = dialectName == "pl" ? PolishCsv : CommaCsv;
    std::ostream& err = context.services.err;
    auto failed = [&](const std::string& message) {
        err << "velkor-cli: " << message << '\n';
        return ExitFailed;
    };
    CsvExportResult result;
    try {
        result = toStdout ? ExportDataFileToStream(dataFile, context.services.out, csvFile, dialect)
                          : ExportDataFileToCsv(dataFile, csvFile, dialect);
    } catch (const NotRegularFileError& e) {
        return failed(context.Say(Message::NotRegularFile, {e.fileName()}));
    } catch (const NoLoggerDataError& e) {
        return failed(context.Say(Message::NoLoggerData, {e.fileName()}));
    } catch (const CsvOntoDataFileError& e) {
        return failed(context.Say(Msg::CsvIsDataFile, {e.fileName()}));
    } catch (const DataFileShrankError& e) {
        return failed(context.Say(Message::FileShrank, {e.fileName()}));
    } catch (const LocatedInOutError& e) {
        const std::string what =
            e.line > 0 ? context.Say(Msg::FileLineError, {e.file, std::to_string(e.line), e.what()})
                       : e.file + ": " + e.what();
        return failed(context.Say(Msg::Failed, {what}));
    }
    if (invocation.Has("json")) {
        JsonObject summary;
        summary.String("file", csvFile)
            .String("dialect", dialectName)
            .Number("rows", result.rows)
            .Number("bad_lines", result.counts.badLines);
        if (result.counts.badLines > 0)
            summary.Number("first_bad_line", result.counts.firstBadLine);
        else
            summary.Null("first_bad_line");
        SummaryStream(context, toStdout) << summary.Text() << '\n';
    } else if (!invocation.Has("quiet")) {
        err << context.Say(Msg::Exported, {std::to_string(result.rows), csvFile}) << '\n';
    }
    if (result.counts.badLines == 0)
        return ExitDone;
    err << context.Say(Msg::BadLinesLeftOut, {std::to_string(result.counts.badLines),
                                              std::to_string(result.counts.firstBadLine)})
        << '\n';
    return ExitIncomplete;
}

int RunPorts(Context& context, const Invocation& invocation) {
    const std::vector<ComPortEntry> ports = ListComPorts(context.services.where);
    std::ostream& out = context.services.out;
    if (invocation.Has("json")) {
        // [{"name": "COM1", "device": "/dev/ttyUSB0"}, ...]
        out << '[';
        for (std::size_t i = 0; i < ports.size(); ++i)
            out << (i ? ", " : "")
                << JsonObject()
                       .String("name", ports[i].comName)
                       .String("device", ports[i].device)
                       .Text();
        out << "]\n";
        return ExitDone;
    }
    for (const ComPortEntry& port : ports)
        out << EscapeForMessage(port.comName) << '\t' << EscapeForMessage(port.device) << '\n';
    if (ports.empty() && !invocation.Has("quiet"))
        context.services.err << context.Say(Msg::NoPorts) << '\n';
    return ExitDone;
}

} // namespace velkor::cli
