#pragma once
// Downloads the logger's measurement log into the chart and the data file.

#include "link/LoggerSettings.h"
#include "link/SerialLink.h"
#include "log/DataFileState.h"
#include "log/Sinks.h"
#include "platform/Pause.h"

#include "link/Commands.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velkor {

// The five-digit block number of G? reaches block 99999 at most.
constexpr int MaxBlockRequests = 100000;
// A record is accepted only strictly within this many days after the last accepted one.
constexpr double AcceptanceWindowDays = 2.0;

// The wait between a block request and the first read of its reply.
constexpr int BlockReplyWaitMilliseconds = 100;
// A whole block reply: 25 records of 10 bytes.
constexpr std::size_t BlockReplyBytes = cmd::RecordsPerBlock * cmd::RecordSize;
// A shorter reply is read on every ReplyPollMilliseconds until it is whole, until no byte came
// for ReplyQuietMilliseconds, or until ReplyReadLimitMilliseconds have passed since the request.
constexpr int ReplyPollMilliseconds = 10;
constexpr int ReplyQuietMilliseconds = 300;
constexpr int ReplyReadLimitMilliseconds = 2000;
// A block with no reply at all is requested this many times in all.
constexpr int BlockRequestAttempts = 2;
// A block whose reply stays shorter than a block (the quiet time passed mid-reply) is requested
// this many times in all. Before each repeat the line must be quiet for ReplyQuietMilliseconds
// (waited for at most SilenceWaitLimitMilliseconds) and the input is purged, so that the late
// tail of the abandoned reply never lands in the next read. A repeat whose first record is not
// the first record of the earlier reply still begins with such a tail and is not read as the
// block.
constexpr int ShortReplyAttempts = 3;
constexpr int SilenceWaitLimitMilliseconds = 2000;

// SampleCount div 25 + 1, but never more blocks than the request can number.
int BlockRequestCount(std::uint32_t sampleCount);

// The download. In this order: the process-wide date and time formats are set; a temporary
// file is created beside the data file `fileName`; both series are emptied; the progress bar is
// shown with the maximum BlockRequestCount - 1; then for each block: progress position := block
// number, G?kkkkk, 100 ms, ClearBuffers, the reply (read on while it is shorter than 250 bytes,
// see above), the whole record slots of the reply, the repeats of a block whose reply stayed
// short or never came (see above), and the cancel check; finally the temporary
// file is put in place (see below) and the progress bar hidden. The window's buttons are the
// caller's business once this returns.
//
// Records are accepted with a valid date and time strictly after the last accepted one and less
// than two days after it (the first against LoggingStart - 1.0); each accepted record becomes a
// line of the file, written unbuffered, and from the second one on a red temperature and a green
// humidity point. A slot not wholly received is never decoded.
//
// How it ends (DownloadResult::end): Complete after the last block; LoggerSilent when a block got
// no reply to its second request; ReplyCut when a block's reply was still short after
// ShortReplyAttempts requests (the records that arrived whole are kept, no later block is
// asked for); Cancelled when cancelRequested returned true with blocks left;
// DeviceLost when the port's device went away (portName and error say which and why).
//
// The data file is replaced, never emptied in advance: when at least one record was accepted,
// the temporary file replaces `fileName` in one step (whatever ended the download, an error of
// the serial channel included), dataFile.DataFileName := fileName and fileReplaced is true.
// With no record, `fileName` and dataFile.DataFileName stay as they were and the temporary file
// is removed.
//
// Errors that propagate: InOutError when the temporary file cannot be created (series and
// progress bar untouched) or a line cannot be written (the previous data file stays as it was,
// the progress bar stays shown); InOutError of the serial channel other than a lost device,
// after the records received were put in place (the progress bar stays shown).
enum class DownloadEnd { Complete, LoggerSilent, ReplyCut, Cancelled, DeviceLost };

struct DownloadResult {
    DownloadEnd end = DownloadEnd::Complete;
    int recordsWritten = 0;            // lines in the data file
    std::uint32_t samplesExpected = 0; // settings.SampleCount
    bool fileReplaced = false;         // the data file now holds these records
    std::string portName;              // DeviceLost: "COM3"
    std::string error;                 // DeviceLost: the system's error text

    // The one answer to "was the download complete?" for both front ends: every block was
    // read, and a logger set to record samples gave at least one. SampleCount is what the
    // logger is set to record, not what it holds: while it is still logging, fewer lines
    // than samplesExpected are the whole log, not a loss.
    bool IsComplete() const {
        return end == DownloadEnd::Complete && (recordsWritten > 0 || samplesExpected == 0);
    }
};

// Asked after every block; true ends the download after that block. The window processes its
// events inside it; the command-line tool checks its signal flag.
using CancelCheck = std::function<bool()>;

DownloadResult DownloadLog(SerialLink& link, Pause& pause, const LoggerSettings& settings,
                           DataFileState& dataFile, PlotSink& plot, ProgressSink& progress,
                           const CancelCheck& cancelRequested = {},
                           const std::string& fileName = DefaultDataFileName);

// Decodes one block reply of `length` bytes, whole record slots only, against the acceptance
// rule, advancing lastAcceptedTime. Pure; for the fuzzer and the tests.
std::vector<cmd::LogRecord> DecodeBlock(const std::uint8_t* reply, std::size_t length,
                                        double& lastAcceptedTime);

} // namespace velkor
