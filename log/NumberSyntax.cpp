#include "log/NumberSyntax.h"

#include <charconv>
#include <string>
#include <system_error>

namespace velkor {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Index of the first non-digit from i on.
std::size_t SkipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    return i;
}

} // namespace

bool ParseSingle(std::string_view text, float& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissa = i;
    i = SkipDigits(text, i);
    if (i == mantissa)
        return false;
    // A decimal comma stands for the point: files saved by a spreadsheet in a Polish locale.
    const std::size_t separator = i;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        const std::size_t fraction = i + 1;
        i = SkipDigits(text, fraction);
        if (i == fraction)
            return false;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        i = SkipDigits(text, e);
        if (i == e)
            return false;
    }
    if (i != text.size())
        return false;

    // The text is now known to be well formed; from_chars rounds it correctly to single
    // precision and does not consult the locale.
    std::string number(text.substr(mantissa));
    if (separator < text.size() && text[separator] == ',')
        number[separator - mantissa] = '.';
    float result = 0.0f;
    const char* first = number.data();
    const char* last = number.data() + number.size();
    const auto [end, error] = std::from_chars(first, last, result, std::chars_format::general);
    if (error != std::errc() || end != last)
        return false;
    value = negative ? -result : result;
    return true;
}

} // namespace velkor
