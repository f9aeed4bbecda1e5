#include "platform/PortNames.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string_view>
#include <system_error>
#include <tuple>

namespace fs = std::filesystem;

namespace velkor {

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The real path of an existing file; empty when it does not exist or cannot be resolved.
fs::path RealPath(const fs::path& path) {
    std::error_code ec;
    fs::path real = fs::canonical(path, ec);
    return ec ? fs::path{} : real;
}

// A ttyS* device without a UART behind it: the kernel reports its type as 0 (unknown).
bool HasNoUart(const fs::path& ttyClassFolder, const std::string& name) {
    if (ttyClassFolder.empty())
        return false;
    std::ifstream type(ttyClassFolder / name / "type");
    int value = -1;
    return type >> value && value == 0;
}

// Real paths of everything the entries of the ports folder point to.
std::set<fs::path> PinnedDevices(const fs::path& portsFolder) {
    std::set<fs::path> pinned;
    std::error_code ec;
    if (portsFolder.empty() || !fs::is_directory(portsFolder, ec))
        return pinned;
    for (const auto& entry : fs::directory_iterator(portsFolder, ec)) {
        fs::path real = RealPath(entry.path());
        if (!real.empty())
            pinned.insert(real);
    }
    return pinned;
}

// The numbers n >= 1 that an entry "COMn" of the ports folder takes.
std::set<int> PinnedNumbers(const fs::path& portsFolder) {
    std::set<int> numbers;
    std::error_code ec;
    if (portsFolder.empty() || !fs::is_directory(portsFolder, ec))
        return numbers;
    for (const auto& entry : fs::directory_iterator(portsFolder, ec)) {
        const std::optional<int> n = ComNumber(entry.path().filename().string());
        if (n && *n >= 1)
            numbers.insert(*n);
    }
    return numbers;
}

// The entry "COMn" of the ports folder. A dangling link still counts: it names this port.
std::optional<fs::path> FolderEntry(const fs::path& portsFolder, const std::string& comName) {
    if (portsFolder.empty())
        return std::nullopt;
    std::error_code ec;
    const fs::path entry = portsFolder / comName;
    if (fs::exists(fs::symlink_status(entry, ec)))
        return entry;
    return std::nullopt;
}

} // namespace

fs::path DefaultPortsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config)
        return fs::path(config) / "velkor" / "ports";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return fs::path(home) / ".config" / "velkor" / "ports";
    return {};
}

std::vector<fs::path> ListSerialDevices(const fs::path& deviceFolder,
                                        const fs::path& ttyClassFolder) {
    static constexpr std::array<std::string_view, 3> families = {"ttyUSB", "ttyACM", "ttyS"};
    // (family, number, path), sorted so that families keep their order and numbers count up.
    std::vector<std::tuple<std::size_t, long, fs::path>> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(deviceFolder, ec)) {
        const std::string name = entry.path().filename().string();
        for (std::size_t f = 0; f < families.size(); ++f) {
            const std::string_view family = families[f];
            if (name.compare(0, family.size(), family) != 0)
                continue;
            const std::string_view number = std::string_view(name).substr(family.size());
            if (!AllDigits(number) || number.size() > 9)
                continue;
            if (family == "ttyS" && HasNoUart(ttyClassFolder, name))
                continue;
            found.emplace_back(f, std::stol(std::string(number)), entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<fs::path> devices;
    devices.reserve(found.size());
    for (auto& [family, number, path] : found)
        devices.push_back(std::move(path));
    return devices;
}

std::optional<fs::path> ResolveComName(const std::string& comName, const fs::path& portsFolder,
                                       const std::vector<fs::path>& devices) {
    const std::optional<int> number = ComNumber(comName);
    if (!number)
        return std::nullopt;

    if (auto entry = FolderEntry(portsFolder, comName))
        return entry;
    if (*number < 1)
        return std::nullopt;

    // The devices left take, in order, the numbers that no entry takes: COMn is the k-th of
    // them, k counting the free numbers up to n.
    const std::set<int> pinnedNumbers = PinnedNumbers(portsFolder);
    const auto taken = std::distance(pinnedNumbers.begin(), pinnedNumbers.upper_bound(*number));
    const std::set<fs::path> pinned = PinnedDevices(portsFolder);
    int remaining = *number - static_cast<int>(taken);
    for (const fs::path& device : devices) {
        const fs::path real = RealPath(device);
        if (pinned.count(real.empty() ? device : real))
            continue;
        if (--remaining == 0)
            return device;
    }
    return std::nullopt;
}

std::optional<fs::path> ResolveComName(const std::string& comName, const PortLocations& where) {
    const fs::path folder = where.portsFolder.empty() ? DefaultPortsFolder() : where.portsFolder;
    const std::optional<int> number = ComNumber(comName);
    if (!number)
        return std::nullopt;
    // The device list is only read when the ports folder does not answer alone.
    std::vector<fs::path> devices;
    if (*number >= 1 && !FolderEntry(folder, comName))
        devices = ListSerialDevices(where.deviceFolder, where.ttyClassFolder);
    return ResolveComName(comName, folder, devices);
}

} // namespace velkor
