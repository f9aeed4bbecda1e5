// loggersim: the simulated logger as a program, for running velkor by hand and for the demo.

#include "platform/DateTime.h"
#include "tools/loggersim/CommandLine.h"
#include "tools/loggersim/LoggerSim.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <pthread.h>

using namespace velkor;
using namespace velkor::sim;

int main(int argc, char** argv) {
    SimOptions options;
    try {
        options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "loggersim: " << e.what() << "\nTry 'loggersim --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << HelpText();
        return 0;
    }

    // The stop signals are blocked in every thread and taken here, so that the link is always
    // removed on the way out.
    sigset_t stops;
    sigemptyset(&stops);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stops, s);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);

    try {
        const LoggerState state = BuildState(options, LocalNow());
        LoggerSim logger(state, options.faults);
        logger.start(options.port, options.portsFolder);
        std::cout << "loggersim: " << logger.comName() << " is " << logger.devicePath().string()
                  << ", linked as " << logger.linkPath().string() << "\n"
                  << "loggersim: " << state.records.size() << " records, sample count "
                  << state.sampleCount << ", logging start "
                  << FormatDateTime("yyyy-mm-dd hh:nn:ss", state.loggingStart) << ", interval "
                  << FormatDateTime("hh:nn:ss", state.intervalSeconds / SecondsPerDay)
                  << "; stop with Ctrl+C" << std::endl;
        int signal = 0;
        sigwait(&stops, &signal);
        logger.stop();
        std::cout << "loggersim: " << strsignal(signal) << ", " << logger.comName() << " removed"
                  << std::endl;
    } catch (const std::exception& e) {
        std::cerr << "loggersim: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
