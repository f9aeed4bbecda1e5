// info, set-clock, configure and erase: the window's Connect, Set clock, Save settings and
// Erase, each through the same link/ and log/ operations as the window's buttons.

#include "cli/ArchiveCommands.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/TerminalProgress.h"
#include "link/Commands.h"
#include "link/WriteSettings.h"
#include "log/Erase.h"
#include "platform/DateTime.h"
#include "platform/DateTimeText.h"

#include <cstdio>
#include <ostream>

namespace velkor::cli {

namespace {

const char* const DateTimePattern = "yyyy-mm-dd hh:nn:ss";
const char* const TimePattern = "hh:nn:ss";

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            // The logger's bytes are taken one for one, as the window shows them.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + '"';
}

double DateTimeOption(const Context& context, const std::string& text) {
    const std::optional<double> value = ParseDateTimeText(text);
    if (!value)
        throw Failure(ExitUsage, context.Say(Msg::BadDateTime, {text}));
    return *value;
}

} // namespace

int RunInfo(Context& context, const Invocation& invocation) {
    Session session(context);
    session.Open(invocation.Value("port"));
    const SettingsShown shown = session.ReadSettings();

    const std::string clock = FormatDateTime(DateTimePattern, shown.clockDate + shown.clockTime);
    const std::string interval = FormatDateTime(TimePattern, shown.interval);
    const std::string start = FormatDateTime(DateTimePattern, shown.start.date + shown.start.time);
    const std::string end = FormatDateTime(DateTimePattern, shown.end);
    const bool humidity = cmd::HasHumidity(session.Settings().Identifier);
    std::ostream& out = context.services.out;
    if (invocation.Has("json")) {
        out << "{\"port\": " << JsonString(session.PortName())
            << ", \"identifier\": " << JsonString(session.Identification())
            << ", \"clock\": " << JsonString(clock) << ", \"interval\": " << JsonString(interval)
            << ", \"start\": " << JsonString(start) << ", \"end\": " << JsonString(end)
            << ", \"samples\": " << shown.samples << ", \"battery_mv\": " << shown.batteryMillivolts
            << ", \"humidity\": " << (humidity ? "true" : "false") << "}\n";
    } else {
        out << "port: " << session.PortName() << '\n'
            << "identifier: " << session.Identification() << '\n'
            << "clock: " << clock << '\n'
            << "interval: " << interval << '\n'
            << "start: " << start << '\n'
            << "end: " << end << '\n'
            << "samples: " << shown.samples << '\n'
            << "battery: " << shown.batteryMillivolts << " mV\n"
            << "humidity: " << (humidity ? "yes" : "no") << '\n';
    }
    return ExitDone;
}

int RunSetClock(Context& context, const Invocation& invocation) {
    const std::optional<std::string> text = invocation.Value("time");
    const double time = text ? DateTimeOption(context, *text) : context.services.now();
    Session session(context);
    session.Open(invocation.Value("port"));
    SetClock(session.Link(), context.services.pause, session.Settings(), time, time);
    context.services.err << context.Say(Msg::ClockSet, {FormatDateTime(DateTimePattern, time)})
                         << '\n';
    return ExitDone;
}

int RunConfigure(Context& context, const Invocation& invocation) {
    const std::string intervalText = *invocation.Value("interval");
    const std::optional<double> interval = ParseTimeText(intervalText);
    if (!interval)
        throw Failure(ExitUsage, context.Say(Msg::BadInterval, {intervalText}));
    const double start = DateTimeOption(context, *invocation.Value("start"));
    const double end = DateTimeOption(context, *invocation.Value("end"));
    // Checked before the port is touched: a wrong setting sends nothing at all.
    switch (CheckSettings(*interval, start, start, end, end)) {
    case SettingsProblem::ZeroInterval:
        throw Failure(ExitUsage, context.Say(Msg::ZeroInterval));
    case SettingsProblem::EndBeforeStart:
        throw Failure(ExitUsage, context.Say(Msg::EndBeforeStart));
    case SettingsProblem::None:
        break;
    }
    Session session(context);
    session.Open(invocation.Value("port"));
    SaveSettings(session.Link(), context.services.pause, session.Settings(), *interval, start,
                 start, end, end);
    context.services.err << context.Say(Msg::Configured,
                                        {FormatDateTime(TimePattern, *interval),
                                         FormatDateTime(DateTimePattern, start),
                                         FormatDateTime(DateTimePattern, end),
                                         std::to_string(session.Settings().SampleCount)})
                         << '\n';
    return ExitDone;
}

int RunErase(Context& context, const Invocation& invocation) {
    if (!invocation.Has("yes"))
        throw Failure(ExitUsage, context.Say(Msg::EraseNeedsYes));
    Session session(context);
    session.Open(invocation.Value("port"));
    // What the logger holds is known from its settings, without a download.
    if (ArchiveBuilt() && !invocation.Has("force"))
        session.ReadSettings();
    if (const int refused = CheckBeforeErase(context, invocation, session.Settings()))
        return refused;
    bool erased = false;
    {
        EraseDots dots(context.services.err, context.services.errIsTerminal, context.lang);
        erased = EraseMemory(session.Link(), context.services.pause, dots, {});
    }
    context.services.err << context.Say(erased ? Msg::Erased : Msg::NotErased) << '\n';
    const int recorded = RecordErase(context, invocation, session.Settings().Identifier, erased);
    return MostSevere(erased ? ExitDone : ExitIncomplete, recorded);
}

} // namespace velkor::cli
