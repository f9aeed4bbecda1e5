#include "platform/SystemSerialPorts.h"

#include "platform/PosixSerial.h"

namespace velkor {

std::unique_ptr<SerialPorts> SystemSerialPorts(const PortLocations& where, std::ostream& warnings) {
    return std::make_unique<PosixSerialPorts>(where, warnings);
}

} // namespace velkor
