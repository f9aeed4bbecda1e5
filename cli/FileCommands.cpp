// download, export and ports.

#include "cli/ArchiveCommands.h"
#include "cli/Commands.h"
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
#include <ostream>
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

} // namespace

std::string CsvNameFor(const std::string& dataFile) {
    std::filesystem::path name = Utf8Path(dataFile);
    name.replace_extension(".csv");
    return Utf8Name(name);
}

int RunDownload(Context& context, const Invocation& invocation) {
    const std::string fileName = invocation.Value("output").value_or(DefaultDataFileName);
    Session session(context);
    session.Open(invocation.Value("port"));
    // The download needs the sample count and the logging start, as after the window's Connect.
    session.ReadSettings();

    if (context.services.catchInterrupt)
        context.services.catchInterrupt();
    NoPlot plot;
    DownloadBar bar(context.services.err, context.services.errIsTerminal, context.lang);
    DataFileState dataFile;
    const CancelCheck cancel = [&context] {
        return context.services.interrupted && context.services.interrupted();
    };
    const DownloadResult result =
        DownloadLog(session.Link(), context.services.pause, session.Settings(), dataFile, plot, bar,
                    cancel, fileName);
    bar.HideProgress();

    // The same words as the window's: a download that ended early says what was kept where.
    std::ostream& err = context.services.err;
    const std::string received = std::to_string(result.recordsWritten);
    const std::string expected = std::to_string(result.samplesExpected);
    if (result.end == DownloadEnd::DeviceLost)
        err << context.Say(Message::DeviceLost, {result.portName, result.error}) << '\n';
    if (!result.fileReplaced)
        err << context.Say(Message::NoSamplesReceived, {fileName}) << '\n';
    else if (result.end == DownloadEnd::Cancelled)
        err << context.Say(Message::DownloadCancelled, {received, expected, fileName}) << '\n';
    else if (result.end == DownloadEnd::ReplyCut)
        err << context.Say(Message::ReplyCut, {received, expected, fileName}) << '\n';
    else if (result.end == DownloadEnd::Complete)
        err << context.Say(Msg::DownloadSummary, {received, expected, fileName}) << '\n';
    else
        err << context.Say(Message::LoggerStopped, {received, expected, fileName}) << '\n';

    const bool complete = result.IsComplete();
    // Every download goes into the archive once its data file is written, complete or not.
    const int archived = ArchiveDownload(
        context, invocation,
        DownloadDone{session.Settings(), session.PortName(), result, complete, fileName});
    const int code = result.end == DownloadEnd::DeviceLost ? ExitFailed
                     : complete                            ? ExitDone
                                                           : ExitIncomplete;
    return CombineExitCodes(code, archived);
}

int RunExport(Context& context, const Invocation& invocation) {
    const std::string& dataFile = invocation.operands.at(0);
    const std::string csvFile = invocation.Value("output").value_or(CsvNameFor(dataFile));
    std::ostream& err = context.services.err;
    auto failed = [&](const std::string& message) {
        err << "velkor-cli: " << message << '\n';
        return ExitFailed;
    };
    CsvExportResult result;
    try {
        result = ExportDataFileToCsv(dataFile, csvFile);
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
    err << context.Say(Msg::Exported, {std::to_string(result.rows), csvFile}) << '\n';
    if (result.counts.badLines == 0)
        return ExitDone;
    err << context.Say(Msg::BadLinesLeftOut, {std::to_string(result.counts.badLines),
                                              std::to_string(result.counts.firstBadLine)})
        << '\n';
    return ExitIncomplete;
}

int RunPorts(Context& context, const Invocation&) {
    const std::vector<ComPortEntry> ports = ListComPorts(context.services.where);
    for (const ComPortEntry& port : ports)
        context.services.out << EscapeForMessage(port.comName) << '\t'
                             << EscapeForMessage(port.device) << '\n';
    const std::size_t found = ports.size();
    if (found == 0)
        context.services.err << context.Say(Msg::NoPorts) << '\n';
    return ExitDone;
}

} // namespace velkor::cli
