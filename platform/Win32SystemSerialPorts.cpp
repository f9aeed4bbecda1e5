#include "platform/SystemSerialPorts.h"

#include "platform/Win32Serial.h"

namespace velkor {

// Windows names its ports itself: there is no resolution to configure and nothing to warn of.
std::unique_ptr<SerialPorts> SystemSerialPorts(const PortLocations&, std::ostream&) {
    return std::make_unique<Win32SerialPorts>();
}

} // namespace velkor
