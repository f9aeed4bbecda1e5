#pragma once
// The number syntax of the data file's temperature and humidity fields: leading spaces, an
// optional "+" or "-", digits, optionally "." (or ",") and digits, optionally "E" or "e", an
// optional sign and digits. The decimal separator is "." or ",", whatever the locale.

#include <string_view>

namespace velkor {

// Converts the whole text to the nearest single-precision value. False when the text is not
// one complete number of the syntax (nothing may follow it, "5." lacks its fraction digits) or
// its value lies outside the single-precision range; value is then left as it was.
bool ParseSingle(std::string_view text, float& value);

} // namespace velkor
