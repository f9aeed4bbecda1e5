#include "log/Download.h"

#include "link/Commands.h"
#include "log/DataFileWriter.h"
#include "log/DataLine.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
#include <optional>

namespace velkor {

namespace {

// Reads what arrived for the block just requested, into ReceiveBuffer from offset 0. A reply
// shorter than a whole block is read on while bytes keep coming: it may arrive in parts (a
// slow or buffering adapter). Returns the number of bytes received.
std::size_t ReceiveBlockReply(SerialLink& link, Pause& pause) {
    pause.sleep(BlockReplyWaitMilliseconds);
    link.ClearBuffers();
    std::size_t received = 0;
    if (link.ReadReply(SerialLink::ReceiveBufferSize))
        received = std::min<std::size_t>(link.QueuedBytes, SerialLink::ReceiveBufferSize);
    int waited = BlockReplyWaitMilliseconds;
    int quiet = 0;
    while (received < BlockReplyBytes && quiet < ReplyQuietMilliseconds &&
           waited < ReplyReadLimitMilliseconds) {
        pause.sleep(ReplyPollMilliseconds);
        waited += ReplyPollMilliseconds;
        const std::size_t more = link.ReadMore(received);
        received += more;
        quiet = more > 0 ? 0 : quiet + ReplyPollMilliseconds;
    }
    return received;
}

// Reads and drops whatever still arrives, until the line has been quiet for
// ReplyQuietMilliseconds (at most SilenceWaitLimitMilliseconds): the late tail of an abandoned
// reply. The next request's SendCommand purges the input once more before it goes out.
void WaitForSilence(SerialLink& link, Pause& pause) {
    int quiet = 0;
    for (int waited = 0; quiet < ReplyQuietMilliseconds && waited < SilenceWaitLimitMilliseconds;
         waited += ReplyPollMilliseconds) {
        pause.sleep(ReplyPollMilliseconds);
        quiet = link.ReadReply(SerialLink::ReceiveBufferSize) ? 0 : quiet + ReplyPollMilliseconds;
    }
}

// How the requests for one block ended.
enum class BlockEnd { Whole, Silent, Short };

// The temporary data file of a download: replaces the data file when it holds a record,
// is removed otherwise.
class PendingDataFile {
public:
    explicit PendingDataFile(const std::string& target) : target_(target) {
        // A data file name taken by a folder fails now, not after the whole download.
        files::CheckReplaceable(target);
        writer_.CreateTemporaryBeside(target);
    }
    ~PendingDataFile() {
        if (writer_.IsOpen() || !finished_) {
            try {
                writer_.Close();
            } catch (const InOutError&) {
            }
            files::Remove(writer_.Path());
        }
    }
    PendingDataFile(const PendingDataFile&) = delete;
    PendingDataFile& operator=(const PendingDataFile&) = delete;

    void Append(const std::string& line) {
        writer_.Append(line);
        ++lines_;
    }
    int Lines() const { return lines_; }

    // Puts the records in place: true when the data file was replaced. Nothing written: the
    // data file is left as it is. Raises InOutError when the file cannot be completed; the
    // data file is then left as it is too.
    bool Finish() {
        finished_ = true;
        if (lines_ == 0) {
            writer_.Close();
            files::Remove(writer_.Path());
            return false;
        }
        try {
            writer_.FlushToDisk();
            writer_.Close();
            files::Replace(writer_.Path(), target_);
        } catch (...) {
            finished_ = false; // the destructor removes the temporary file
            throw;
        }
        return true;
    }

private:
    std::string target_;
    DataFileWriter writer_;
    int lines_ = 0;
    bool finished_ = false;
};

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
                           const CancelCheck& cancelRequested, const std::string& fileName) {
    UseLoggerDateTimeFormats();
    PendingDataFile file(fileName);
    plot.ClearSeries();

    DownloadResult result;
    result.samplesExpected = settings.SampleCount;
    double lastAcceptedTime = settings.LoggingStart - 1.0;
    const int requests = BlockRequestCount(settings.SampleCount);
    progress.ShowProgress(requests - 1);

    // Records written so far are kept whatever ends the download, except a failing write.
    auto keepRecords = [&] {
        result.recordsWritten = file.Lines();
        result.fileReplaced = file.Finish();
        if (result.fileReplaced)
            dataFile.DataFileName = fileName;
    };

    bool writeFailed = false;
    auto writeRecord = [&](const cmd::LogRecord& r) {
        double t = 0.0;
        r.DateTime(t);
        const int recordNumber = file.Lines() + 1;
        if (recordNumber > 1) {
            plot.AddPoint(TemperatureSeries, t, r.temperature / 10.0, DownloadTemperatureColor);
            plot.AddPoint(HumiditySeries, t, r.humidity / 10.0, DownloadHumidityColor);
        }
        writeFailed = true;
        file.Append(DataLine(recordNumber, 2000 + r.year, r.month, r.day, r.hour, r.minute,
                             r.second, r.temperature, r.humidity));
        writeFailed = false;
    };
    try {
        for (int blockIndex = 0; blockIndex < requests; ++blockIndex) {
            progress.SetProgress(blockIndex);
            BlockEnd blockEnd = BlockEnd::Silent;
            bool anyBytes = false;
            std::optional<std::array<std::uint8_t, cmd::RecordSize>> firstSlot;
            for (int attempt = 1;; ++attempt) {
                link.SetCommand(cmd::RequestBlock(blockIndex));
                link.SendCommand();
                std::size_t received = ReceiveBlockReply(link, pause);
                anyBytes = anyBytes || received > 0;
                const std::uint8_t* reply = link.ReceiveBuffer.data();
                if (received >= cmd::RecordSize) {
                    // The logger sends a block again from its first record. A repeat that
                    // begins otherwise begins with the late tail of an abandoned reply: its
                    // slots do not line up with records, so it is not read as the block.
                    if (!firstSlot) {
                        firstSlot.emplace();
                        std::copy_n(reply, cmd::RecordSize, firstSlot->begin());
                    } else if (!std::equal(firstSlot->begin(), firstSlot->end(), reply)) {
                        received = 0;
                    }
                }
                // A repeated reply brings again the records accepted from a short one before
                // it; the acceptance rule takes only those after them.
                for (const cmd::LogRecord& r : DecodeBlock(reply, received, lastAcceptedTime))
                    writeRecord(r);
                if (received >= BlockReplyBytes) {
                    blockEnd = BlockEnd::Whole;
                    break;
                }
                blockEnd = anyBytes ? BlockEnd::Short : BlockEnd::Silent;
                if (attempt >= (anyBytes ? ShortReplyAttempts : BlockRequestAttempts))
                    break;
                if (anyBytes)
                    WaitForSilence(link, pause);
            }
            if (blockEnd != BlockEnd::Whole) {
                // A block missing, or only in part, leaves a hole in the log: the download ends
                // here rather than go on past it.
                result.end = blockEnd == BlockEnd::Silent ? DownloadEnd::LoggerSilent
                                                          : DownloadEnd::ReplyCut;
                break;
            }
            const bool cancelled = cancelRequested && cancelRequested();
            if (cancelled && blockIndex + 1 < requests) {
                result.end = DownloadEnd::Cancelled;
                break;
            }
        }
    } catch (const LostDeviceError& e) {
        result.end = DownloadEnd::DeviceLost;
        result.portName = e.PortName();
        result.error = e.SystemText();
    } catch (...) {
        // A line the disk refused leaves the previous data file as it is (the temporary one
        // goes); any other error keeps the records received before it.
        if (!writeFailed)
            keepRecords();
        throw;
    }
    keepRecords();
    progress.HideProgress();
    return result;
}

} // namespace velkor
