#pragma once
// Reading date-times typed as text, in the one form the program writes them.

#include <optional>
#include <string_view>

namespace velkor {

// Exactly "yyyy-mm-dd hh:mm:ss" (two-digit fields zero-padded) with a valid date and time,
// as a day count; nothing otherwise.
std::optional<double> ParseDateTimeText(std::string_view text);

// Exactly "hh:mm:ss" with a valid time of day (00:00:00 to 23:59:59), as a day fraction.
std::optional<double> ParseTimeText(std::string_view text);

} // namespace velkor
