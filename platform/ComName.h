#pragma once
// The channel opens serial ports by the names "COM0" to "COM255", on every system.

#include <optional>
#include <string>

namespace velkor {

// The n of "COMn": "COM" then a decimal number without leading zeros ("COM0", "COM17").
std::optional<int> ComNumber(const std::string& comName);

} // namespace velkor
