// velkor-cli: the logger from the command line, without a display.

#include "cli/Cli.h"
#include "platform/SystemSerialPorts.h"
#include "platform/Terminal.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace velkor;
    UseUtf8Console();
    const PortLocations where;
    const std::unique_ptr<SerialPorts> ports = SystemSerialPorts(where, std::cerr);
    SleepPause pause;
    cli::Services services{*ports,        pause,    where,          std::cout,         std::cerr,
                           IsTerminal(2), LocalNow, CatchInterrupt, InterruptRequested};
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = cli::RunCli(args, services);
    std::cout.flush();
    return code;
}
