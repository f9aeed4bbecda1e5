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

enum class Command { None, Ports, Info, Download, SetClock, Configure, Erase, Export, Archive };

struct Invocation {
    Command command = Command::None;
    std::string commandName;
    bool help = false;
    bool version = false;
    Lang lang = Lang::English;
    // Options given, by long name without the dashes ("port", "json", "output", ...); a switch
    // has an empty value.
    std::map<std::string, std::string> options;
    std::vector<std::string> operands;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
};

// Wrong usage: the message says what is wrong, in the language asked for (or English when the
// language itself is what is wrong).
class UsageError : public std::runtime_error {
public:
    UsageError(Lang lang, const std::string& message) : std::runtime_error(message), lang_(lang) {}
    Lang GetLang() const { return lang_; }

private:
    Lang lang_;
};

// Parses the arguments after the program name. Raises UsageError for an unknown command or
// option, a missing value, too many or too few operands, or an unknown language.
Invocation ParseArguments(const std::vector<std::string>& args);

} // namespace velkor::cli
