#include "platform/SystemSerialPorts.h"

#include "platform/PosixSerial.h"

#include <filesystem>
#include <system_error>

namespace velkor {

std::unique_ptr<SerialPorts> SystemSerialPorts(const PortLocations& where, std::ostream& warnings) {
    return std::make_unique<PosixSerialPorts>(where, warnings);
}

std::vector<ComPortEntry> ListComPorts(const PortLocations& where) {
    const std::vector<std::filesystem::path> devices =
        ListSerialDevices(where.deviceFolder, where.ttyClassFolder);
    const std::filesystem::path folder =
        where.portsFolder.empty() ? DefaultPortsFolder() : where.portsFolder;
    std::vector<ComPortEntry> found;
    for (int n = 0; n <= 255; ++n) {
        const std::string name = "COM" + std::to_string(n);
        const std::optional<std::filesystem::path> device = ResolveComName(name, folder, devices);
        if (!device)
            continue;
        // A link of the ports folder is shown with the device it leads to.
        std::error_code error;
        const std::filesystem::path target = std::filesystem::canonical(*device, error);
        std::string text = device->string();
        if (!error && target != *device)
            text += " -> " + target.string();
        found.push_back({name, text});
    }
    return found;
}

} // namespace velkor
