#include "platform/Terminal.h"

#include "platform/DateTime.h"

#include <windows.h>

namespace velkor {

namespace {

volatile LONG interrupted = 0;

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        ::InterlockedExchange(&interrupted, 1);
        return TRUE;
    }
    return FALSE;
}

} // namespace

bool IsTerminal(int stdStream) {
    const HANDLE handle = ::GetStdHandle(stdStream == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    // A console answers GetConsoleMode; a file or a pipe does not.
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode);
}

double LocalNow() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    double result = 0;
    TryEncodeDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                      local.wSecond > 59 ? 59 : local.wSecond, 0, result);
    return result;
}

void CatchInterrupt() {
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool InterruptRequested() {
    return ::InterlockedCompareExchange(&interrupted, 0, 0) != 0;
}

} // namespace velkor
