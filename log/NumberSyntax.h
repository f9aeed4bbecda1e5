#pragma once
// The number syntax of the data file's temperature and humidity fields: leading spaces, an
// optional "+" or "-", digits, optionally "." (or ",") and digits, optionally "E" or "e", an
// optional sign and digits. The decimal separator is "." or ",", whatever the locale.

#include <string_view>

namespace velkor {

// Converts the whole text to the nearest double. False when the text is not one complete
// number of the syntax (nothing may follow it, "5." lacks its fraction digits) or its value
// lies beyond a double; value is then left as it was.
bool ParseNumber(std::string_view text, double& value);

// The value rounded to single precision; false when that leaves the single-precision range
// (beyond it, or a non-zero value that becomes zero).
bool ToSingle(double value, float& single);

// ParseNumber rounded to single precision: false also for a value that leaves the
// single-precision range (beyond it, or a non-zero value that becomes zero).
bool ParseSingle(std::string_view text, float& value);

} // namespace velkor
