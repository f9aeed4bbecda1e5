#pragma once
// The command line of the loggersim program.

#include "tools/loggersim/LoggerState.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velkor::sim {

struct SimOptions {
    int port = 1;
    std::filesystem::path portsFolder; // empty: the default ports folder
    std::string identification = "RTW01234\r";
    std::optional<double> clock; // none: the computer's local time
    bool clockStopped = false;
    std::optional<int> intervalSeconds;
    std::optional<double> start;
    std::optional<std::uint32_t> samples;
    int batteryMillivolts = 3650;
    std::size_t generate = 0;
    unsigned seed = 1;
    std::filesystem::path dataFile;   // --log
    std::filesystem::path recordFile; // --records
    Faults faults = DefaultFaults();
    bool help = false;

    static Faults DefaultFaults() {
        Faults f;
        f.eraseDelayMs = 3000; // a real erase takes a while
        return f;
    }
};

// Throws std::invalid_argument with a message for the user.
SimOptions ParseCommandLine(const std::vector<std::string>& args);
std::string HelpText();

// The logger's state from the options, `now` being the computer's clock as a day count. Reads
// the log file if one is given (throws std::runtime_error when it does not read).
LoggerState BuildState(const SimOptions& options, double now);

// The computer's local time as a day count, to the second.
double LocalNow();

// "\r", "\n", "\t", "\\" and "\xHH" in a text given on the command line.
std::string Unescape(const std::string& text);

} // namespace velkor::sim
