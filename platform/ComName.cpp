#include "platform/ComName.h"

#include <algorithm>
#include <string_view>

namespace velkor {

std::optional<int> ComNumber(const std::string& comName) {
    const std::string_view name(comName);
    if (name.substr(0, 3) != "COM")
        return std::nullopt;
    const std::string_view digits = name.substr(3);
    const bool decimal = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (!decimal || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    return std::stoi(std::string(digits));
}

} // namespace velkor
