#pragma once
// COM name resolution on Linux. The channel opens ports by the names "COM0" to "COM255"; a name
// "COMn" becomes a device path like this:
//
// 1. An entry named exactly "COMn" in the ports folder (normally a symbolic link to a device)
//    wins. The ports folder is $XDG_CONFIG_HOME/velkor/ports, or ~/.config/velkor/ports when
//    XDG_CONFIG_HOME is unset. Users pin devices to numbers there; the simulated logger links
//    its pseudo-terminal there.
// 2. Otherwise, for n >= 1: the serial devices present, in the order /dev/ttyUSB*,
//    /dev/ttyACM*, /dev/ttyS* (numeric order within each), leaving out the devices that an
//    entry of the ports folder points to (compared by their real paths), take in order the
//    numbers 1, 2, ... that no entry of the ports folder takes. With COM2 pinned to ttyACM0
//    and ttyUSB0, ttyACM0, ttyS0 present: COM1 is ttyUSB0, COM3 is ttyS0. COM0 resolves only
//    through the ports folder.
//
// The folders are injectable so that tests never look at the machine's own /dev.

#include "platform/ComName.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velkor {

struct PortLocations {
    // Empty: DefaultPortsFolder(), looked up again at every resolution.
    std::filesystem::path portsFolder;
    // Where the ttyUSB*, ttyACM* and ttyS* devices are listed.
    std::filesystem::path deviceFolder = "/dev";
    // Where the kernel describes tty devices. A ttyS* whose "type" file there reads 0 has no
    // UART behind it and is not counted as present. Empty: no such check.
    std::filesystem::path ttyClassFolder = "/sys/class/tty";
};

// $XDG_CONFIG_HOME/velkor/ports, or $HOME/.config/velkor/ports; empty when neither variable is
// set (or both are empty).
std::filesystem::path DefaultPortsFolder();

// The serial devices present in deviceFolder, in resolution order.
std::vector<std::filesystem::path>
ListSerialDevices(const std::filesystem::path& deviceFolder,
                  const std::filesystem::path& ttyClassFolder = {});

// Resolves a COM name against a ports folder and a device list (already in resolution order).
// Nothing when the name resolves to nothing.
std::optional<std::filesystem::path>
ResolveComName(const std::string& comName, const std::filesystem::path& portsFolder,
               const std::vector<std::filesystem::path>& devices);

// The same, with the folders of `where`.
std::optional<std::filesystem::path> ResolveComName(const std::string& comName,
                                                    const PortLocations& where);

} // namespace velkor
