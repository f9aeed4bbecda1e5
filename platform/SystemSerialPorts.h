#pragma once
// The serial ports of the machine the program runs on, for front ends that should not name a
// platform's implementation themselves.

#include "platform/PortNames.h"
#include "platform/SerialDevice.h"

#include <iosfwd>
#include <memory>

namespace velkor {

// The ports as the COM name resolution of `where` finds them; warnings (a device refused for
// lack of permission) go to `warnings`.
std::unique_ptr<SerialPorts> SystemSerialPorts(const PortLocations& where, std::ostream& warnings);

} // namespace velkor
