#pragma once
// The commands of velkor-cli, one row each: the name, the options and operands it takes, its
// line in the general usage, its --help text and its handler.

#include "cli/Cli.h"
#include "cli/Options.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velkor::cli {

// A text of the table in both languages (UTF-8).
struct Bilingual {
    const char* english;
    const char* polish;
    std::string In(Language language) const;
};

struct OptionSpec {
    const char* longName;
    char shortName; // 0: none
    bool takesValue;
    bool repeats = false; // may be given more than once (Invocation::repeated)
};

struct CommandRow {
    const char* name;
    std::vector<OptionSpec> options;
    std::vector<const char*> required; // long names of the options it cannot run without
    const char* operand;               // the name of its one operand; nullptr: it takes none
    Bilingual summary;                 // its line in the general usage
    Bilingual usage;                   // its --help
    int (*run)(Context& context, const Invocation& invocation);
    // Operands it may take after the first (the archive's subcommands check their own).
    std::size_t moreOperands = 0;
    // An option that stands in for the operand: with it, the operand may be left out.
    const char* operandOption = nullptr;
};

std::span<const CommandRow> CommandTable();
// The row of the command of that name; nullptr for no command.
const CommandRow* FindCommand(std::string_view name);
// velkor-cli --help: the head, one line per row, the options of every command.
std::string GeneralUsage(Language language);

} // namespace velkor::cli
