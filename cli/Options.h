#pragma once
// The command line: a command, its options and operands. A small parser of its own, the same
// on every system: "--name value", "--name=value", short "-o value", and "--" ending options.

#include "cli/Texts.h"

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velkor::cli {

struct CommandRow;

struct Invocation {
    const CommandRow* command = nullptr; // nullptr: none given (--help, --version)
    std::string commandName;
    bool help = false;
    bool version = false;
    Language lang = Language::English;
    // Options given, by long name without the dashes ("port", "json", "output", ...); a switch
    // has an empty value.
    std::map<std::string, std::string> options;
    // Every value of an option that may be given more than once, in the order given.
    std::map<std::string, std::vector<std::string>> repeated;
    std::vector<std::string> operands;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
};

// Wrong usage: the message says what is wrong, in the language asked for (or English when the
// language itself is what is wrong).
class UsageError : public std::runtime_error {
public:
    UsageError(Language lang, const std::string& message)
        : std::runtime_error(message), lang_(lang) {}
    Language GetLang() const { return lang_; }

private:
    Language lang_;
};

// Parses the arguments after the program name, against the command table. Raises UsageError
// for an unknown command or option, a missing value, too many or too few operands, or an
// unknown language. The messages are in the language of the last valid --lang.
Invocation ParseArguments(const std::vector<std::string>& args);

} // namespace velkor::cli
