#include "cli/Session.h"

#include "platform/ComName.h"

namespace velkor::cli {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Why the port named with --port gave no logger.
std::string NamedPortFailure(const Context& context, const SessionResult& result) {
    switch (result.openFailure) {
    case OpenFailure::None:
        return context.Say(Msg::NotALogger, {result.port});
    case OpenFailure::Absent:
        return context.Say(Msg::PortAbsent, {result.port});
    case OpenFailure::Busy:
        return context.Say(Message::PortBusy, {result.port});
    case OpenFailure::Denied:
        return context.Say(Msg::PortDenied, {result.port});
    case OpenFailure::Other:
        break;
    }
    return context.Say(Msg::PortCannotOpen, {result.port});
}

} // namespace

void Session::Fail(const SessionResult& result) const {
    switch (result.outcome) {
    case SessionOutcome::Found:
        break;
    case SessionOutcome::Lost:
        throw Failure(ExitFailed, context_.Say(Message::DeviceLost, {result.port, result.error}));
    case SessionOutcome::ProtocolError:
        throw Failure(ExitFailed, context_.Say(Msg::ReplyUnreadable, {result.error}));
    case SessionOutcome::NotFound:
    case SessionOutcome::Busy:
        // A scan names no port of its own; a port that was named is the one reported.
        if (!result.port.empty())
            throw Failure(ExitFailed, NamedPortFailure(context_, result));
        std::string message = context_.Say(Msg::NoLogger);
        if (!result.busyPorts.empty())
            message += ' ' + context_.Say(Msg::BusyPorts, {JoinNames(result.busyPorts)});
        throw Failure(ExitFailed, message);
    }
    throw Failure(ExitFailed, context_.Say(Msg::NoLogger));
}

void Session::Open(const std::optional<std::string>& port) {
    if (port) {
        const std::optional<int> number = ComNumber(*port);
        if (!number || *number > 255)
            throw Failure(ExitUsage, context_.Say(Msg::BadPortName, {*port}));
    }
    found_ = port ? session_.Open(*port) : session_.Find();
    if (found_.outcome != SessionOutcome::Found)
        Fail(found_);
}

const SettingsShown& Session::ReadSettings() {
    const SessionResult read = session_.ReadSettings();
    if (read.outcome != SessionOutcome::Found)
        Fail(read);
    return session_.Shown();
}

std::string Session::Identification() const {
    std::string text = found_.reply;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    return text;
}

} // namespace velkor::cli
