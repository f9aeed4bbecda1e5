#include "cli/Options.h"

#include "cli/CommandTable.h"

namespace velkor::cli {

std::optional<std::string> Invocation::Value(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

Invocation ParseArguments(const std::vector<std::string>& args) {
    Invocation result;
    // --lang is looked for first, so that every other message is already in that language.
    result.lang = LanguageOfArguments(args, Language::English);
    const Language lang = result.lang;
    auto fail = [lang](Msg msg, std::initializer_list<std::string> values) {
        throw UsageError(lang, Text(lang, msg, values));
    };

    const CommandRow* spec = nullptr;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool looksLikeOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!looksLikeOption) {
            if (!spec) {
                spec = FindCommand(arg);
                if (!spec)
                    fail(Msg::UnknownCommand, {arg});
                result.command = spec;
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
            if (!inlineValue && i + 1 >= args.size())
                fail(Msg::MissingValue, {arg});
            const std::string value = inlineValue ? *inlineValue : args[++i];
            if (!LanguageNamed(value))
                fail(Msg::BadLanguage, {value});
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
        if (option->repeats)
            result.repeated[option->longName].push_back(value);
    }

    if (result.help || result.version)
        return result;
    if (!spec)
        fail(Msg::MissingArgument, {"velkor-cli", "COMMAND"});
    const std::size_t operands = spec->operand ? 1 : 0;
    if (result.operands.size() > operands + spec->moreOperands)
        fail(Msg::UnexpectedArgument, {result.operands[operands + spec->moreOperands]});
    if (result.operands.size() < operands &&
        !(spec->operandOption && result.Has(spec->operandOption)))
        fail(Msg::MissingArgument, {spec->name, spec->operand});
    for (const char* required : spec->required)
        if (!result.Has(required))
            fail(Msg::MissingArgument, {spec->name, std::string("--") + required});
    return result;
}

} // namespace velkor::cli
