#include "cli/Cli.h"

#include "cli/CommandTable.h"
#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Session.h"
#include "link/WriteSettings.h"
#include "messages/ErrorText.h"
#include "platform/Errors.h"
#include "platform/TextEscape.h"
#include "velkor/Version.h"

#include <ostream>

namespace velkor::cli {

int CombineExitCodes(int a, int b) {
    // Heaviest first.
    static constexpr int Order[] = {ExitUsage,         ExitFailed,    ExitEraseRefused,
                                    ExitArchiveFailed, ExitExcursion, ExitIncomplete};
    for (const int code : Order)
        if (a == code || b == code)
            return code;
    return ExitDone;
}

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
        services.out << (invocation.command ? invocation.command->usage.In(context.lang)
                                            : GeneralUsage(context.lang));
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
        return invocation.command->run(context, invocation);
    } catch (const Failure& e) {
        return fail(e.Code(), e.what());
    } catch (const ConvertError& e) {
        return fail(ExitFailed, context.Say(Msg::ReplyUnreadable, {e.what()}));
    } catch (const SettingsError& e) {
        return fail(ExitUsage, context.Say(SettingsProblemMessage(e.Problem())));
    } catch (const std::exception& e) {
        // A lost device, a file error: in the window's words.
        if (const std::optional<std::string> known = KnownErrorText(context.lang, e))
            return fail(ExitFailed, EscapeForMessage(*known));
        return fail(ExitFailed, context.Say(Msg::Failed, {e.what()}));
    }
}

} // namespace velkor::cli
