#pragma once
// Connect's steps: finding the logger on one of the serial ports, then reading its settings one
// query at a time. LoggerSession (link/Session.h) runs them in order for both front ends.
// A query step that raises ConvertError ends the reading there; the port stays open.

#include "link/LoggerSettings.h"
#include "link/SerialLink.h"
#include "platform/Pause.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkor {

// What a picker shows when a reply does not convert.
constexpr double FallbackDate = 40200.0; // 2010-01-22
constexpr double FallbackTime = 0.0;     // 00:00:00

// The scan tries i = 1..511 with the port number i mod 256: COM1..COM255, COM0, COM1..COM255.
constexpr int ScanAttempts = 511;
// Wait between a command and reading its reply.
constexpr int ReplyWaitMilliseconds = 100;

// Tries the ports in scan order with N? and keeps the first whose reply arrives within the wait
// and begins with "RT": that port stays open in the link and the reply text (not sanitised,
// line end included) is returned. The receive buffer is cleared before each N?, so the reply
// holds nothing of what another port answered. Every other port that opened is closed again. A port
// whose transmitter never reports empty is skipped like a silent one. Nullopt when no port answers;
// no port is open then.
std::optional<std::string> FindLogger(SerialLink& link, Pause& pause);

// One step of the scan on the port open in the link: the receive buffer is cleared, N?, 100 ms,
// and the reply (not sanitised, line end included) when one arrived and begins with "RT".
// Raises InOutError when the command cannot be sent, LostDeviceError when the device is gone.
std::optional<std::string> IdentifyLogger(SerialLink& link, Pause& pause);

struct ScanResult {
    std::optional<std::string> reply;   // as FindLogger returns it
    std::vector<std::string> busyPorts; // COM names held by another program, scan order, once each
};
// The scan of FindLogger, also telling which ports another program holds.
ScanResult ScanForLogger(SerialLink& link, Pause& pause);

// The first 8 characters of the identification reply (all of it when shorter).
std::string IdentifierOf(const std::string& reply);

// One query: the command, 100 ms, ReadReply(512) (its result is not examined), SanitiseReply,
// and the reply text. A query with no reply gives the previous buffer's contents.
std::string QueryLogger(SerialLink& link, Pause& pause, const std::string& command);

// T?: the clock time. Sets ClockTime when positions 3..8 form a valid time of day and returns
// it; otherwise returns FallbackTime and ClockTime keeps its value.
double ReadClockTime(SerialLink& link, Pause& pause, LoggerSettings& settings);

// D?: the clock date (DDMMYY at 3..8, year 20YY). Sets ClockDate when valid and returns it;
// otherwise returns FallbackDate and ClockDate keeps its value. Raises ConvertError when the
// reply text is too short to hold the fields (a zero byte at offset 0 or 1).
double ReadClockDate(SerialLink& link, Pause& pause, LoggerSettings& settings);

// I?: the interval, as ReadClockTime (Interval, fallback FallbackTime).
double ReadInterval(SerialLink& link, Pause& pause, LoggerSettings& settings);

// What the logging start pickers show: the date picker the date, the time picker the time.
struct StartShown {
    double date = FallbackDate;
    double time = FallbackTime;
};

// R?: the logging start (hhmmssDDMMYY at 3..14). Valid: LoggingStart := it, shown as it is.
// Otherwise both pickers show their fallbacks; LoggingStart becomes the date at 00:00:00 when
// only the time is invalid and keeps its value when the date is. Raises ConvertError as
// ReadClockDate does.
StartShown ReadLoggingStart(SerialLink& link, Pause& pause, LoggerSettings& settings);

// The end of logging: sampleCount x interval + loggingStart, in floating point.
double LoggingEndOf(std::uint32_t sampleCount, double interval, double loggingStart);

// S?: SampleCount := positions 3..9, LoggingEnd from it, Interval and LoggingStart as they
// stand. Returns LoggingEnd, which both end pickers show. Raises ConvertError as
// ReadClockDate does.
double ReadSampleCountAndEnd(SerialLink& link, Pause& pause, LoggerSettings& settings);

// U?: BatteryMillivolts := positions 3..7, returned. Raises ConvertError as ReadClockDate does.
std::int32_t ReadBattery(SerialLink& link, Pause& pause, LoggerSettings& settings);

} // namespace velkor
