#include "link/Session.h"

#include "link/Commands.h"
#include "platform/ComName.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"

namespace velkor {

SessionResult LoggerSession::Identified(SessionResult result, std::string reply) {
    result.outcome = SessionOutcome::Found;
    result.port = link_.PortName();
    settings_.Identifier = IdentifierOf(reply);
    result.humidity = cmd::HasHumidity(settings_.Identifier);
    result.reply = std::move(reply);
    return result;
}

SessionResult LoggerSession::Find() {
    ScanResult scan = ScanForLogger(link_, pause_);
    SessionResult result;
    result.busyPorts = std::move(scan.busyPorts);
    if (scan.reply)
        return Identified(std::move(result), std::move(*scan.reply));
    link_.ClearBuffers();
    result.outcome = result.busyPorts.empty() ? SessionOutcome::NotFound : SessionOutcome::Busy;
    return result;
}

SessionResult LoggerSession::Open(const std::string& comName) {
    SessionResult result;
    result.port = comName;
    const std::optional<int> number = ComNumber(comName);
    if (!number || *number > 255) {
        result.openFailure = OpenFailure::Absent;
        return result;
    }
    if (!link_.OpenPort(*number)) {
        result.openFailure = link_.LastOpenFailure();
        if (result.openFailure == OpenFailure::Busy) {
            result.outcome = SessionOutcome::Busy;
            result.busyPorts = {comName};
        }
        return result;
    }
    try {
        if (std::optional<std::string> reply = IdentifyLogger(link_, pause_))
            return Identified(std::move(result), std::move(*reply));
    } catch (const LostDeviceError& e) {
        link_.ClosePort();
        result.outcome = SessionOutcome::Lost;
        result.error = e.SystemText();
        return result;
    } catch (const InOutError&) {
        // A transmitter that never reports empty: no logger to talk to, as in the scan.
    }
    link_.ClosePort();
    return result;
}

SessionResult LoggerSession::ReadSettings(const SettingsCallback& afterQuery) {
    SessionResult result;
    result.port = link_.PortName();
    shown_ = SettingsShown{};
    const auto step = [&](SettingsStep done) {
        if (afterQuery)
            afterQuery(done, shown_);
    };
    try {
        UseLoggerDateTimeFormats();
        shown_.clockTime = ReadClockTime(link_, pause_, settings_);
        step(SettingsStep::ClockTime);
        shown_.clockDate = ReadClockDate(link_, pause_, settings_);
        step(SettingsStep::ClockDate);
        shown_.interval = ReadInterval(link_, pause_, settings_);
        step(SettingsStep::Interval);
        shown_.start = ReadLoggingStart(link_, pause_, settings_);
        step(SettingsStep::LoggingStart);
        shown_.end = ReadSampleCountAndEnd(link_, pause_, settings_);
        shown_.samples = settings_.SampleCount;
        step(SettingsStep::LoggingEnd);
        shown_.batteryMillivolts = ReadBattery(link_, pause_, settings_);
        step(SettingsStep::Battery);
    } catch (const LostDeviceError& e) {
        result.outcome = SessionOutcome::Lost;
        result.port = e.PortName();
        result.error = e.SystemText();
        return result;
    } catch (const ConvertError& e) {
        result.outcome = SessionOutcome::ProtocolError;
        result.error = e.what();
        return result;
    }
    link_.ClearBuffers();
    result.outcome = SessionOutcome::Found;
    return result;
}

} // namespace velkor
