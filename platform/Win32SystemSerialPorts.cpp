#include "platform/SystemSerialPorts.h"

#include "platform/Win32Serial.h"
#include "platform/Win32Text.h"

#include <windows.h>

namespace velkor {

// Windows names its ports itself: there is no resolution to configure and nothing to warn of.
std::unique_ptr<SerialPorts> SystemSerialPorts(const PortLocations&, std::ostream&) {
    return std::make_unique<Win32SerialPorts>();
}

std::vector<ComPortEntry> ListComPorts(const PortLocations&) {
    std::vector<ComPortEntry> found;
    for (int n = 0; n <= 255; ++n) {
        const std::wstring name = L"COM" + std::to_wstring(n);
        // The first of the DOS device's targets: "\Device\Serial0", "\Device\VCP0".
        wchar_t target[1024] = {};
        if (::QueryDosDeviceW(name.c_str(), target, sizeof target / sizeof target[0]) == 0)
            continue;
        found.push_back({NarrowText(name), NarrowText(target)});
    }
    return found;
}

} // namespace velkor
