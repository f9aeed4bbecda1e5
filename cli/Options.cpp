#include "cli/Options.h"

#include <algorithm>

namespace velkor::cli {

namespace {

struct OptionSpec {
    const char* longName;
    char shortName; // 0: none
    bool takesValue;
};

struct CommandSpec {
    Command command;
    const char* name;
    std::vector<OptionSpec> options;
    std::size_t operands; // at most this many; as many unless `fewest` says otherwise
    const char* operandName;
    std::size_t fewest = operands;
};

const OptionSpec Port{"port", 0, true};
const OptionSpec ArchivePath{"archive", 0, true};

const std::vector<CommandSpec>& Commands() {
    static const std::vector<CommandSpec> commands = {
        {Command::Ports, "ports", {}, 0, ""},
        {Command::Info, "info", {Port, {"json", 0, false}}, 0, ""},
        {Command::Download,
         "download",
         {Port, {"output", 'o', true}, ArchivePath, {"no-archive", 0, false}},
         0,
         ""},
        {Command::SetClock, "set-clock", {Port, {"time", 0, true}}, 0, ""},
        {Command::Configure,
         "configure",
         {Port, {"interval", 0, true}, {"start", 0, true}, {"end", 0, true}},
         0,
         ""},
        {Command::Erase,
         "erase",
         {Port, {"yes", 0, false}, ArchivePath, {"force", 0, false}},
         0,
         ""},
        {Command::Export, "export", {{"output", 'o', true}}, 1, "DATAFILE"},
        // archive SUBCOMMAND [FILE | ID TEXT]: the subcommand checks its own operands.
        {Command::Archive,
         "archive",
         {ArchivePath,
          {"json", 0, false},
          {"logger", 0, true},
          {"from", 0, true},
          {"to", 0, true},
          {"output", 'o', true},
          {"format", 0, true},
          {"download", 0, true}},
         3,
         "COMMAND",
         1},
    };
    return commands;
}

// --lang is looked for first, so that every other message is already in that language.
Lang LanguageOf(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        std::string value;
        if (args[i] == "--lang" && i + 1 < args.size())
            value = args[i + 1];
        else if (args[i].rfind("--lang=", 0) == 0)
            value = args[i].substr(7);
        else
            continue;
        if (value == "pl")
            return Lang::Polish;
        if (value != "en")
            throw UsageError(Lang::English, Text(Lang::English, Msg::BadLanguage, {value}));
    }
    return Lang::English;
}

} // namespace

std::optional<std::string> Invocation::Value(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

Invocation ParseArguments(const std::vector<std::string>& args) {
    Invocation result;
    result.lang = LanguageOf(args);
    const Lang lang = result.lang;
    auto fail = [lang](Msg msg, std::initializer_list<std::string> values) {
        throw UsageError(lang, Text(lang, msg, values));
    };

    const CommandSpec* spec = nullptr;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool looksLikeOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!looksLikeOption) {
            if (!spec) {
                const auto& commands = Commands();
                const auto it = std::find_if(commands.begin(), commands.end(),
                                             [&](const CommandSpec& c) { return arg == c.name; });
                if (it == commands.end())
                    fail(Msg::UnknownCommand, {arg});
                spec = &*it;
                result.command = it->command;
                result.commandName = arg;
            } else {
                result.operands.push_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            result.help = true;
            continue;
        }
        if (arg == "--version" && !spec) {
            result.version = true;
            continue;
        }
        // "--name", "--name=value" or "-x".
        std::string name;
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            name = arg.substr(2);
            if (const std::size_t eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
            }
        }
        if (name == "lang") {
            if (!inlineValue)
                ++i; // the value was checked first
            continue;
        }
        const OptionSpec* option = nullptr;
        if (spec) {
            for (const OptionSpec& o : spec->options)
                if ((!name.empty() && name == o.longName) ||
                    (name.empty() && o.shortName && arg.size() == 2 && arg[1] == o.shortName))
                    option = &o;
        }
        if (!option)
            fail(Msg::UnknownOption, {arg, spec ? spec->name : "velkor-cli"});
        std::string value;
        if (option->takesValue) {
            if (inlineValue)
                value = *inlineValue;
            else if (i + 1 < args.size())
                value = args[++i];
            else
                fail(Msg::MissingValue, {arg});
        } else if (inlineValue) {
            fail(Msg::UnexpectedArgument, {arg});
        }
        result.options[option->longName] = value;
    }

    if (result.help || result.version)
        return result;
    if (!spec)
        fail(Msg::MissingArgument, {"velkor-cli", "COMMAND"});
    if (result.operands.size() > spec->operands)
        fail(Msg::UnexpectedArgument, {result.operands[spec->operands]});
    if (result.operands.size() < spec->fewest)
        fail(Msg::MissingArgument, {spec->name, spec->operandName});
    if (result.command == Command::Configure)
        for (const char* required : {"interval", "start", "end"})
            if (!result.Has(required))
                fail(Msg::MissingArgument, {spec->name, std::string("--") + required});
    return result;
}

} // namespace velkor::cli
