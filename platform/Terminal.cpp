#include "platform/Terminal.h"

#include "platform/DateTime.h"

#include <csignal>
#include <ctime>
#include <unistd.h>

namespace velkor {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

} // namespace

bool IsTerminal(int stdStream) {
    return ::isatty(stdStream == 1 ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

double LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    double result = 0;
    TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, 0, result);
    return result;
}

void CatchInterrupt() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool InterruptRequested() {
    return interrupted != 0;
}

} // namespace velkor
