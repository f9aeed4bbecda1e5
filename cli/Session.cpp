#include "cli/Session.h"

#include "link/Commands.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "platform/PortNames.h"

namespace velkor::cli {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

} // namespace

void Session::Open(const std::optional<std::string>& port) {
    Pause& pause = context_.services.pause;
    if (!port) {
        const ScanResult scan = ScanForLogger(link_, pause);
        if (!scan.reply) {
            std::string message = context_.Say(Msg::NoLogger);
            if (!scan.busyPorts.empty())
                message += ' ' + context_.Say(Msg::BusyPorts, {JoinNames(scan.busyPorts)});
            throw Failure(ExitFailed, message);
        }
        reply_ = *scan.reply;
        portName_ = link_.PortName();
        settings_.Identifier = IdentifierOf(reply_);
        return;
    }

    const std::optional<int> number = ComNumber(*port);
    if (!number || *number > 255)
        throw Failure(ExitUsage, context_.Say(Msg::BadPortName, {*port}));
    if (!link_.OpenPort(*number)) {
        Msg why = Msg::PortCannotOpen;
        switch (context_.services.ports.lastOpenFailure()) {
        case OpenFailure::Absent:
            why = Msg::PortAbsent;
            break;
        case OpenFailure::Busy:
            throw Failure(ExitFailed, context_.Say(Message::PortBusy, {*port}));
        case OpenFailure::Denied:
            why = Msg::PortDenied;
            break;
        default:
            break;
        }
        throw Failure(ExitFailed, context_.Say(why, {*port}));
    }
    // One step of the scan, on this port only.
    link_.ReceiveBuffer.fill(0);
    link_.SetCommand(cmd::Identify);
    link_.SendCommand();
    pause.sleep(ReplyWaitMilliseconds);
    if (!link_.ReadReply(SerialLink::ReceiveBufferSize) || !cmd::IsLoggerReply(link_.ReplyText())) {
        link_.ClosePort();
        throw Failure(ExitFailed, context_.Say(Msg::NotALogger, {*port}));
    }
    reply_ = link_.ReplyText();
    portName_ = *port;
    settings_.Identifier = IdentifierOf(reply_);
}

SettingsShown Session::ReadSettings() {
    Pause& pause = context_.services.pause;
    UseLoggerDateTimeFormats();
    SettingsShown shown;
    shown.clockTime = ReadClockTime(link_, pause, settings_);
    shown.clockDate = ReadClockDate(link_, pause, settings_);
    shown.interval = ReadInterval(link_, pause, settings_);
    shown.start = ReadLoggingStart(link_, pause, settings_);
    shown.end = ReadSampleCountAndEnd(link_, pause, settings_);
    shown.samples = settings_.SampleCount;
    shown.batteryMillivolts = ReadBattery(link_, pause, settings_);
    link_.ClearBuffers();
    return shown;
}

std::string Session::Identification() const {
    std::string text = reply_;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    return text;
}

} // namespace velkor::cli
