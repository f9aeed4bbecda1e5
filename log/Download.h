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

// SampleCount div 25 + 1, but never more blocks than the request can number.
int BlockRequestCount(std::uint32_t sampleCount);

// The download. In this order: the process-wide date and time formats are set;
// dataFile.DataFileName := fileName and the file is created (truncated); both series are
// emptied; the progress bar is shown with the maximum BlockRequestCount - 1; then for each
// block: progress position := block number, G?kkkkk, 100 ms, ClearBuffers, ReadReply(512) and
// the record slots of the reply; finally the progress bar is hidden and the file closed. The
// window's buttons are the caller's business once this returns.
//
// Records are accepted with a valid date and time strictly after the last accepted one and less
// than two days after it (the first against LoggingStart - 1.0); each accepted record becomes a
// line of the file, and from the second one on a red temperature and a green humidity point.
//
// Errors propagate as they come: InOutError when the file cannot be created (series and
// progress bar untouched), when a line cannot be written (the file keeps the whole lines written
// before), or from the serial channel (a device that went away). The file is closed in every
// case; the progress bar stays shown after an error. Returns the number of lines written.
enum class DownloadEnd { Complete, LoggerSilent, Cancelled, DeviceLost };

struct DownloadResult {
    DownloadEnd end = DownloadEnd::Complete;
    int recordsWritten = 0;            // lines in the data file
    std::uint32_t samplesExpected = 0; // settings.SampleCount
    bool fileReplaced = false;         // the data file now holds these records
    std::string portName;              // DeviceLost: "COM3"
    std::string error;                 // DeviceLost: the system's error text
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
