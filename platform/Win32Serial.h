#pragma once
// Serial ports on Windows, through the communications API.
//
// "COMn" opens the device \\.\COMn: Windows names its ports itself, so there is no resolution
// and no ports folder. COM0 names no device. A port is opened with share mode 0, so that no
// other program can open it while this one holds it. Reads never wait: they take only what
// has been received. A write waits for room for a bounded time.

#include "platform/SerialDevice.h"

#include <memory>
#include <string>

namespace velkor {

class Win32SerialPorts final : public SerialPorts {
public:
    // Null when the name is not a COM name or names no port (Absent), when another program
    // holds the port (Busy), or when it cannot be opened or is no serial port (Other).
    std::unique_ptr<SerialPort> open(const std::string& comName) override;
    OpenFailure lastOpenFailure() const override { return lastFailure_; }

    // The system's text for the latest failed open; empty after a successful one.
    const std::string& lastOpenError() const { return lastError_; }

private:
    std::unique_ptr<SerialPort> fail(OpenFailure why, unsigned long error);

    OpenFailure lastFailure_ = OpenFailure::None;
    std::string lastError_;
};

// How the failure of CreateFileW on a COM device is reported.
OpenFailure OpenFailureOf(unsigned long win32Error);

} // namespace velkor
