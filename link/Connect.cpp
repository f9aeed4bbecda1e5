#include "link/Connect.h"

#include "link/Commands.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"

#include <algorithm>

namespace velkor {

namespace {

// A two-digit field that is exactly two ASCII digits.
bool TryTwoDigits(const std::string& field, int& value) {
    if (field.size() != 2 || field[0] < '0' || field[0] > '9' || field[1] < '0' || field[1] > '9')
        return false;
    value = (field[0] - '0') * 10 + (field[1] - '0');
    return true;
}

// The time of day hh:mm:ss at positions 3..8, taken by its three two-digit numbers so that the
// system's time separator plays no part. False when the reply is too short or a number is out
// of range.
bool TryTimeOfReply(const std::string& reply, double& result) {
    int hour = 0, minute = 0, second = 0;
    return TryTwoDigits(cmd::Field(reply, 3, 4), hour) &&
           TryTwoDigits(cmd::Field(reply, 5, 6), minute) &&
           TryTwoDigits(cmd::Field(reply, 7, 8), second) &&
           TryEncodeTime(hour, minute, second, 0, result);
}

int IntegerAt(const std::string& reply, std::size_t first, std::size_t last) {
    return StrToInt(cmd::Field(reply, first, last));
}

} // namespace

std::optional<std::string> FindLogger(SerialLink& link, Pause& pause) {
    return ScanForLogger(link, pause).reply;
}

std::optional<std::string> IdentifyLogger(SerialLink& link, Pause& pause) {
    // What another device answered must not show through behind a shorter reply, where it
    // would become part of the identifier and decide whether humidity is measured.
    link.ReceiveBuffer.fill(0);
    link.SetCommand(cmd::Identify);
    link.SendCommand();
    pause.sleep(ReplyWaitMilliseconds);
    if (!link.ReadReply(SerialLink::ReceiveBufferSize))
        return std::nullopt;
    std::string reply = link.ReplyText();
    if (!cmd::IsLoggerReply(reply))
        return std::nullopt;
    return reply;
}

ScanResult ScanForLogger(SerialLink& link, Pause& pause) {
    ScanResult result;
    for (int i = 1; i <= ScanAttempts; ++i) {
        if (!link.OpenPort(i % 256)) {
            const std::string name = "COM" + std::to_string(i % 256);
            if (link.LastOpenFailure() == OpenFailure::Busy &&
                std::find(result.busyPorts.begin(), result.busyPorts.end(), name) ==
                    result.busyPorts.end())
                result.busyPorts.push_back(name);
            continue;
        }
        try {
            result.reply = IdentifyLogger(link, pause);
            if (result.reply)
                return result;
        } catch (const InOutError&) {
            // A transmitter that never reports empty, or a device that went away while asked,
            // is no logger to talk to.
        }
        link.ClosePort();
    }
    return result;
}

std::string IdentifierOf(const std::string& reply) {
    return reply.substr(0, 8);
}

std::string QueryLogger(SerialLink& link, Pause& pause, const std::string& command) {
    link.SetCommand(command);
    link.SendCommand();
    pause.sleep(ReplyWaitMilliseconds);
    link.ReadReply(SerialLink::ReceiveBufferSize);
    link.SanitiseReply();
    return link.ReplyText();
}

double ReadClockTime(SerialLink& link, Pause& pause, LoggerSettings& settings) {
    const std::string reply = QueryLogger(link, pause, cmd::QueryClockTime);
    double time = 0;
    if (!TryTimeOfReply(reply, time))
        return FallbackTime;
    settings.ClockTime = time;
    return time;
}

double ReadClockDate(SerialLink& link, Pause& pause, LoggerSettings& settings) {
    const std::string reply = QueryLogger(link, pause, cmd::QueryClockDate);
    const int day = IntegerAt(reply, 3, 4);
    const int month = IntegerAt(reply, 5, 6);
    const int year = 2000 + IntegerAt(reply, 7, 8);
    double date = 0;
    if (!TryEncodeDate(year, month, day, date))
        return FallbackDate;
    settings.ClockDate = date;
    return date;
}

double ReadInterval(SerialLink& link, Pause& pause, LoggerSettings& settings) {
    const std::string reply = QueryLogger(link, pause, cmd::QueryInterval);
    double interval = 0;
    if (!TryTimeOfReply(reply, interval))
        return FallbackTime;
    settings.Interval = interval;
    return interval;
}

StartShown ReadLoggingStart(SerialLink& link, Pause& pause, LoggerSettings& settings) {
    const std::string reply = QueryLogger(link, pause, cmd::QueryLoggingStart);
    const int hour = IntegerAt(reply, 3, 4);
    const int minute = IntegerAt(reply, 5, 6);
    const int second = IntegerAt(reply, 7, 8);
    const int day = IntegerAt(reply, 9, 10);
    const int month = IntegerAt(reply, 11, 12);
    const int year = 2000 + IntegerAt(reply, 13, 14);
    double date = 0;
    if (!TryEncodeDate(year, month, day, date))
        return {};
    double time = 0;
    if (!TryEncodeTime(hour, minute, second, 0, time)) {
        settings.LoggingStart = date;
        return {};
    }
    settings.LoggingStart = date + time;
    return {date, time};
}

double LoggingEndOf(std::uint32_t sampleCount, double interval, double loggingStart) {
    return static_cast<double>(sampleCount) * interval + loggingStart;
}

double ReadSampleCountAndEnd(SerialLink& link, Pause& pause, LoggerSettings& settings) {
    const std::string reply = QueryLogger(link, pause, cmd::QuerySampleCount);
    settings.SampleCount = static_cast<std::uint32_t>(IntegerAt(reply, 3, 9));
    settings.LoggingEnd =
        LoggingEndOf(settings.SampleCount, settings.Interval, settings.LoggingStart);
    return settings.LoggingEnd;
}

std::int32_t ReadBattery(SerialLink& link, Pause& pause, LoggerSettings& settings) {
    const std::string reply = QueryLogger(link, pause, cmd::QueryBattery);
    settings.BatteryMillivolts = IntegerAt(reply, 3, 7);
    return settings.BatteryMillivolts;
}

} // namespace velkor
