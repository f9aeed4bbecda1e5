#include "platform/Win32Serial.h"

#include "platform/ComName.h"
#include "platform/Win32Text.h"

#include <windows.h>

namespace velkor {

namespace {

// How long one write may wait for room in the transmit queue before it gives up. At 115200
// baud a whole command leaves in well under a millisecond; only a stalled device waits this
// long.
constexpr DWORD WriteRoomTimeoutMs = 1000;

// Errors with which the drivers report an adapter that was unplugged or stopped working, as
// opposed to a refused setting or a write that timed out.
bool IsDeviceLoss(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED: // what many USB serial drivers answer once unplugged
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_INVALID_HANDLE:
    case ERROR_NOT_READY:
    case ERROR_OPERATION_ABORTED:
        return true;
    default:
        return false;
    }
}

class Win32SerialPort final : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE handle) : handle_(handle) {}
    ~Win32SerialPort() override { ::CloseHandle(handle_); }

    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool setupQueues(std::uint32_t inputBytes, std::uint32_t outputBytes) override {
        return ::SetupComm(handle_, inputBytes, outputBytes) || fail();
    }

    bool applyLineSettings() override {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(handle_, &dcb))
            return fail();
        dcb.BaudRate = CBR_115200;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        // DTR and RTS held inactive, as on Linux.
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        return ::SetCommState(handle_, &dcb) || fail();
    }

    bool setTransmitEmptyEventMask() override {
        return ::SetCommMask(handle_, EV_TXEMPTY) || fail();
    }

    void discardInput() override {
        ::PurgeComm(handle_, PURGE_RXABORT | PURGE_RXCLEAR);
        // Whatever still reaches the queue after the purge (a driver may hand bytes over
        // late) is read and dropped, so that nothing older than the next command is left.
        std::uint8_t scrap[256];
        for (int round = 0; round < 64; ++round) {
            std::uint32_t waiting = 0;
            if (!queuedBytes(waiting) || waiting == 0 || read(scrap, sizeof scrap) == 0)
                break;
        }
    }

    std::size_t write(const std::uint8_t* data, std::size_t count) override {
        writeError_ = 0;
        std::size_t done = 0;
        while (done < count) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 65536));
            if (!::WriteFile(handle_, data + done, chunk, &written, nullptr)) {
                writeError_ = ::GetLastError();
                break;
            }
            if (written == 0) { // the write timed out: no room within WriteRoomTimeoutMs
                writeError_ = ERROR_TIMEOUT;
                break;
            }
            done += written;
        }
        if (writeError_ != 0)
            lastError_ = writeError_;
        return done;
    }

    bool waitTransmitEmpty() override {
        // A write that failed (the device is gone, for example) cannot be waited for.
        if (writeError_ != 0)
            return fail(writeError_);
        return ::FlushFileBuffers(handle_) || fail();
    }

    void flush() override { ::FlushFileBuffers(handle_); }

    bool queuedBytes(std::uint32_t& count) override {
        count = 0;
        DWORD errors = 0;
        COMSTAT status{};
        if (!::ClearCommError(handle_, &errors, &status))
            return fail();
        count = status.cbInQue;
        return true;
    }

    std::size_t read(std::uint8_t* data, std::size_t count) override {
        std::size_t done = 0;
        while (done < count) {
            DWORD got = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 65536));
            if (!::ReadFile(handle_, data + done, chunk, &got, nullptr)) {
                fail();
                break;
            }
            if (got == 0)
                break; // nothing more waiting
            done += got;
        }
        return done;
    }

    std::string lastError() const override {
        return Win32ErrorText(lastError_ ? lastError_ : ERROR_GEN_FAILURE);
    }

    bool deviceLost() const override { return lastError_ != 0 && IsDeviceLoss(lastError_); }

private:
    bool fail(DWORD error = ::GetLastError()) {
        lastError_ = error;
        return false;
    }

    HANDLE handle_;
    DWORD lastError_ = 0;
    DWORD writeError_ = 0;
};

// Reads return at once with what has been received; writes wait a bounded time for room.
bool SetNonBlockingTimeouts(HANDLE handle) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = WriteRoomTimeoutMs;
    return ::SetCommTimeouts(handle, &timeouts);
}

} // namespace

OpenFailure OpenFailureOf(unsigned long win32Error) {
    switch (win32Error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_UNIT:
    case ERROR_DEV_NOT_EXIST:
        return OpenFailure::Absent;
    // Windows refuses a port that another program holds with "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return OpenFailure::Busy;
    default:
        return OpenFailure::Other;
    }
}

std::unique_ptr<SerialPort> Win32SerialPorts::open(const std::string& comName) {
    const std::optional<int> number = ComNumber(comName);
    if (!number || *number < 1)
        return fail(OpenFailure::Absent, ERROR_FILE_NOT_FOUND);
    // The \\.\ prefix reaches ports above COM9 too.
    const std::wstring path = L"\\\\.\\COM" + std::to_wstring(*number);
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return fail(OpenFailureOf(error), error);
    }
    // Only communications devices are serial ports.
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (::GetFileType(handle) != FILE_TYPE_CHAR || !::GetCommState(handle, &dcb) ||
        !SetNonBlockingTimeouts(handle)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(handle);
        return fail(OpenFailure::Other, error ? error : ERROR_INVALID_HANDLE);
    }
    lastFailure_ = OpenFailure::None;
    lastError_.clear();
    return std::make_unique<Win32SerialPort>(handle);
}

std::unique_ptr<SerialPort> Win32SerialPorts::fail(OpenFailure why, unsigned long error) {
    lastFailure_ = why;
    lastError_ = Win32ErrorText(error);
    return nullptr;
}

} // namespace velkor
