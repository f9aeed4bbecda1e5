#include "cli/Cli.h"

#include "cli/ArchiveCommands.h"
#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Session.h"
#include "link/WriteSettings.h"
#include "platform/Errors.h"

#include <ostream>

#ifndef VELKOR_VERSION
#define VELKOR_VERSION "unknown"
#endif

namespace velkor::cli {

int MostSevere(int a, int b) {
    static constexpr int Order[] = {ExitUsage,         ExitFailed, ExitEraseRefused,
                                    ExitArchiveFailed, 4,          ExitIncomplete};
    for (const int code : Order) {
        if (a == code || b == code)
            return code;
    }
    return a != ExitDone ? a : b;
}

namespace {

Msg UsageOf(Command command) {
    switch (command) {
    case Command::Ports:
        return Msg::CommandUsagePorts;
    case Command::Info:
        return Msg::CommandUsageInfo;
    case Command::Download:
        return Msg::CommandUsageDownload;
    case Command::SetClock:
        return Msg::CommandUsageSetClock;
    case Command::Configure:
        return Msg::CommandUsageConfigure;
    case Command::Erase:
        return Msg::CommandUsageErase;
    case Command::Export:
        return Msg::CommandUsageExport;
    case Command::Archive:
        return Msg::CommandUsageArchive;
    case Command::None:
        break;
    }
    return Msg::Usage;
}

int Dispatch(Context& context, const Invocation& invocation) {
    switch (invocation.command) {
    case Command::Ports:
        return RunPorts(context, invocation);
    case Command::Info:
        return RunInfo(context, invocation);
    case Command::Download:
        return RunDownload(context, invocation);
    case Command::SetClock:
        return RunSetClock(context, invocation);
    case Command::Configure:
        return RunConfigure(context, invocation);
    case Command::Erase:
        return RunErase(context, invocation);
    case Command::Export:
        return RunExport(context, invocation);
    case Command::Archive:
        return RunArchive(context, invocation);
    case Command::None:
        break;
    }
    return ExitUsage;
}

} // namespace

int RunCli(const std::vector<std::string>& args, Services& services) {
    Invocation invocation;
    try {
        invocation = ParseArguments(args);
    } catch (const UsageError& e) {
        services.err << "velkor-cli: " << e.what() << '\n'
                     << Text(e.GetLang(), Msg::SeeHelp) << '\n';
        return ExitUsage;
    }
    Context context{services, invocation.lang};
    if (invocation.help) {
        services.out << context.Say(UsageOf(invocation.command));
        return ExitDone;
    }
    if (invocation.version) {
        services.out << "velkor-cli " VELKOR_VERSION "\n";
        return ExitDone;
    }

    auto fail = [&](int code, const std::string& message) {
        services.err << "velkor-cli: " << message << '\n';
        if (code == ExitUsage)
            services.err << context.Say(Msg::SeeHelp) << '\n';
        return code;
    };
    try {
        return Dispatch(context, invocation);
    } catch (const Failure& e) {
        return fail(e.Code(), e.what());
    } catch (const LostDeviceError& e) {
        return fail(ExitFailed, context.Say(Msg::DeviceLost, {e.PortName(), e.SystemText()}));
    } catch (const ConvertError& e) {
        return fail(ExitFailed, context.Say(Msg::ReplyUnreadable, {e.what()}));
    } catch (const SettingsError& e) {
        return fail(ExitUsage, context.Say(e.Problem() == SettingsProblem::ZeroInterval
                                               ? Msg::ZeroInterval
                                               : Msg::EndBeforeStart));
    } catch (const std::exception& e) {
        return fail(ExitFailed, context.Say(Msg::Failed, {e.what()}));
    }
}

} // namespace velkor::cli
