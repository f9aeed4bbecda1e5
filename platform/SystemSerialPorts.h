#pragma once
// The serial ports of the machine the program runs on, for front ends that should not name a
// platform's implementation themselves.

#include "platform/PortNames.h"
#include "platform/SerialDevice.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace velkor {

// The ports as the COM name resolution of `where` finds them; warnings (a device refused for
// lack of permission) go to `warnings`.
std::unique_ptr<SerialPorts> SystemSerialPorts(const PortLocations& where, std::ostream& warnings);

// A COM name that names a device now, and that device as the user knows it: on Linux the path
// it resolves to ("/dev/ttyUSB0", or "ports/COM5 -> /dev/pts/3" for a link of the ports
// folder), on Windows the system's device ("\Device\Serial0").
struct ComPortEntry {
    std::string comName;
    std::string device;
};
// COM0 to COM255, those that name a device, in that order.
std::vector<ComPortEntry> ListComPorts(const PortLocations& where);

} // namespace velkor
