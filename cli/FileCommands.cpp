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

    std::ostream& err = context.services.err;
    switch (result.end) {
    case DownloadEnd::LoggerSilent:
        err << context.Say(Msg::LoggerSilent) << '\n';
        break;
    case DownloadEnd::Cancelled:
        err << context.Say(Msg::DownloadCancelled) << '\n';
        break;
    case DownloadEnd::DeviceLost:
        err << context.Say(Msg::DeviceLost, {result.portName, result.error}) << '\n';
        break;
    case DownloadEnd::Complete:
        break;
    }
    if (result.fileReplaced)
        err << context.Say(Msg::DownloadSummary, {std::to_string(result.recordsWritten),
                                                  std::to_string(result.samplesExpected), fileName})
            << '\n';
    else
        err << context.Say(Msg::FileUnchanged, {fileName}) << '\n';

    const bool complete =
        result.end == DownloadEnd::Complete &&
        static_cast<std::uint32_t>(result.recordsWritten) >= result.samplesExpected;
    // Every download goes into the archive once its data file is written, complete or not.
    const int archived = ArchiveDownload(
        context, invocation,
        DownloadDone{session.Settings(), session.PortName(), result, complete, fileName});
    const int code = result.end == DownloadEnd::DeviceLost ? ExitFailed
                     : complete                            ? ExitDone
                                                           : ExitIncomplete;
    return MostSevere(code, archived);
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
        return failed(context.Say(Msg::NotRegularFile, {e.fileName()}));
    } catch (const NoLoggerDataError& e) {
        return failed(context.Say(Msg::NoLoggerData, {e.fileName()}));
    } catch (const DataFileShrankError& e) {
        return failed(context.Say(Msg::FileShrank, {e.fileName()}));
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
        context.services.out << port.comName << '\t' << port.device << '\n';
    const std::size_t found = ports.size();
    if (found == 0)
        context.services.err << context.Say(Msg::NoPorts) << '\n';
    return ExitDone;
}

} // namespace velkor::cli
