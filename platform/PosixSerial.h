#pragma once
// Serial ports on Linux and other POSIX systems, through termios.
//
// A port is opened exclusively: TIOCEXCL keeps other (unprivileged) processes from opening the
// device, and a non-blocking flock keeps out other processes that lock it too, root included.
// The descriptor stays non-blocking, so that no call can hang on a device that stopped or went
// away: reads take only what is waiting, and a write waits for room for a bounded time.

#include "platform/PortNames.h"
#include "platform/SerialDevice.h"

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <set>
#include <string>

namespace velkor {

class PosixSerialPorts final : public SerialPorts {
public:
    // Warnings (a device refused for lack of permission) go to `warnings`, standard error by
    // default.
    explicit PosixSerialPorts(PortLocations where = {});
    PosixSerialPorts(PortLocations where, std::ostream& warnings);

    // Resolves the COM name (see PortNames.h) and opens that device. Null when the name
    // resolves to nothing or the device does not exist, is in use, is not a terminal or
    // cannot be opened.
    std::unique_ptr<SerialPort> open(const std::string& comName) override;
    // Busy: the device refused a second open (EBUSY, TIOCEXCL) or another process holds its
    // lock; Absent: the name resolves to nothing or the device does not exist.
    OpenFailure lastOpenFailure() const override { return lastFailure_; }

    // Opens a device by its path, with the same rules.
    std::unique_ptr<SerialPort> openDevice(const std::filesystem::path& device);

private:
    void warnPermission(const std::filesystem::path& device, int error);

    PortLocations where_;
    std::ostream& warnings_;
    // Devices already reported as refused: one line per device is enough.
    std::set<std::filesystem::path> warned_;
    OpenFailure lastFailure_ = OpenFailure::None;
};

} // namespace velkor
