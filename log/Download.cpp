#include "log/Download.h"

#include "link/Commands.h"
#include "log/DataFileWriter.h"
#include "log/DataLine.h"
#include "platform/DateTime.h"

#include <algorithm>

namespace velkor {

namespace {

constexpr int ReplyWaitMilliseconds = 100;
// Slots lying wholly inside the receive buffer: 0 to 50.
constexpr std::size_t MaxSlots = SerialLink::ReceiveBufferSize / cmd::RecordSize;

} // namespace

int BlockRequestCount(std::uint32_t sampleCount) {
    const std::uint32_t blocks = sampleCount / cmd::RecordsPerBlock + 1;
    return static_cast<int>(std::min<std::uint32_t>(blocks, MaxBlockRequests));
}

std::vector<cmd::LogRecord> DecodeBlock(const std::uint8_t* reply, std::size_t length,
                                        double& lastAcceptedTime) {
    std::vector<cmd::LogRecord> accepted;
    for (std::size_t at = 0; at + cmd::RecordSize <= length; at += cmd::RecordSize) {
        const cmd::LogRecord r = cmd::LogRecord::Decode(reply + at);
        double t = 0.0;
        if (!r.DateTime(t))
            continue;
        if (!(lastAcceptedTime < t && t < lastAcceptedTime + AcceptanceWindowDays))
            continue;
        lastAcceptedTime = t;
        accepted.push_back(r);
    }
    return accepted;
}

DownloadResult DownloadLog(SerialLink& link, Pause& pause, const LoggerSettings& settings,
                           DataFileState& dataFile, PlotSink& plot, ProgressSink& progress,
                           const CancelCheck&, const std::string& fileName) {
    UseLoggerDateTimeFormats();
    dataFile.DataFileName = fileName;
    DataFileWriter file;
    file.Create(fileName);
    plot.ClearSeries();

    double lastAcceptedTime = settings.LoggingStart - 1.0;
    std::int32_t recordNumber = 1;
    const int requests = BlockRequestCount(settings.SampleCount);
    progress.ShowProgress(requests - 1);

    for (int blockIndex = 0; blockIndex < requests;) {
        progress.SetProgress(blockIndex);
        link.SetCommand(cmd::RequestBlock(blockIndex));
        ++blockIndex;
        link.SendCommand();
        pause.sleep(ReplyWaitMilliseconds);
        link.ClearBuffers();
        link.ReadReply(SerialLink::ReceiveBufferSize);

        // One slot more than the whole records that arrived: it holds a record's incomplete
        // tail or bytes the reply did not reach, and normally fails the date test.
        const std::size_t slots =
            std::min<std::size_t>(link.QueuedBytes / cmd::RecordSize + 1, MaxSlots);
        for (std::size_t i = 0; i < slots; ++i) {
            const cmd::LogRecord r =
                cmd::LogRecord::Decode(link.ReceiveBuffer.data() + i * cmd::RecordSize);
            double t = 0.0;
            if (!r.DateTime(t))
                continue;
            if (!(lastAcceptedTime < t && t < lastAcceptedTime + AcceptanceWindowDays))
                continue;
            lastAcceptedTime = t;
            const double temperature = r.temperature / 10.0;
            const double humidity = r.humidity / 10.0;
            if (recordNumber > 1) {
                plot.AddPoint(TemperatureSeries, t, temperature, DownloadTemperatureColor);
                plot.AddPoint(HumiditySeries, t, humidity, DownloadHumidityColor);
            }
            file.Append(DataLine(recordNumber, 2000 + r.year, r.month, r.day, r.hour, r.minute,
                                 r.second, r.temperature, r.humidity));
            ++recordNumber;
        }
    }

    progress.HideProgress();
    file.Close();
    DownloadResult result;
    result.recordsWritten = recordNumber - 1;
    result.samplesExpected = settings.SampleCount;
    result.fileReplaced = true;
    return result;
}

} // namespace velkor
