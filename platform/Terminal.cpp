#include "platform/Terminal.h"

#include "platform/DateTime.h"

#include <csignal>
#include <ctime>

#ifdef _WIN32
#include <cstdio>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace velkor {

namespace {

volatile std::sig_atomic_t interrupted = 0;

#ifdef _WIN32
// The first Ctrl+C is ours; for a second one the system's handler ends the program.
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    if (interrupted)
        return FALSE;
    interrupted = 1;
    return TRUE;
}
#else
extern "C" void OnInterrupt(int) {
    interrupted = 1;
}
#endif

#ifndef _WIN32
std::tm LocalTime(std::time_t time) {
    std::tm local{};
    ::localtime_r(&time, &local);
    return local;
}
#endif

} // namespace

void UseUtf8Console() {
#ifdef _WIN32
    ::SetConsoleOutputCP(CP_UTF8);
#endif
}

bool IsTerminal(int stdStream) {
#ifdef _WIN32
    return ::_isatty(::_fileno(stdStream == 1 ? stdout : stderr)) != 0;
#else
    return ::isatty(stdStream == 1 ? STDOUT_FILENO : STDERR_FILENO) == 1;
#endif
}

double LocalNow() {
    double result = 0;
#ifdef _WIN32
    // The system's own clock and time zone settings, not the C library's TZ rules.
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    TryEncodeDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                      local.wSecond > 59 ? 59 : local.wSecond, 0, result);
#else
    const std::tm local = LocalTime(std::time(nullptr));
    // A leap second counts as the second before it.
    TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, 0, result);
#endif
    return result;
}

void CatchInterrupt() {
#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
#endif
}

bool InterruptRequested() {
    return interrupted != 0;
}

} // namespace velkor
