#pragma once
// velkor-cli: the logger from the command line. RunCli does one invocation with the services
// it is given, so that tests run it against the simulated logger in-process.

#include "cli/Texts.h"
#include "platform/Pause.h"
#include "platform/PortNames.h"
#include "platform/SerialDevice.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace velkor::cli {

enum ExitCode : int {
    ExitDone = 0,
    ExitUsage = 1,
    ExitFailed = 2,        // no logger found, port error, lost device, file error
    ExitIncomplete = 3,    // finished, but samples are missing or the erase was not confirmed
    ExitArchiveFailed = 5, // the data file is written, but the archive could not be
    ExitEraseRefused = 6,  // erase refused: the logger holds samples the archive lacks
};

// Of two exit codes, the one that says more: 1 > 2 > 6 > 5 > 4 > 3 > 0.
int MostSevere(int a, int b);

struct Services {
    SerialPorts& ports;
    Pause& pause;
    // Where `ports` looks for the devices (the same folders as `ports` opens through).
    PortLocations where;
    std::ostream& out;
    std::ostream& err;
    // Progress bar and erase dots are drawn only on a terminal.
    bool errIsTerminal = false;
    // This computer's local time as a day count.
    std::function<double()> now;
    // From this call on, Ctrl+C asks the work to stop instead of ending the program; made
    // only where the work can stop cleanly (between the download's blocks).
    std::function<void()> catchInterrupt;
    // True once the user asked to stop (Ctrl+C).
    std::function<bool()> interrupted;
};

// The arguments after the program name; returns the exit code.
int RunCli(const std::vector<std::string>& args, Services& services);

// What every command has at hand.
struct Context {
    Services& services;
    Lang lang;
    std::string Say(Msg msg, std::initializer_list<std::string> args = {}) const {
        return Text(lang, msg, args);
    }
};

} // namespace velkor::cli
