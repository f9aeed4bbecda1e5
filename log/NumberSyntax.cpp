#include "log/NumberSyntax.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>
#include <system_error>

namespace velkor {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool ParseNumber(std::string_view text, double& value) {
    static constexpr double Powers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7};
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissa = i;
    std::uint64_t digits = 0;
    std::size_t digitCount = 0;
    auto takeDigits = [&] {
        for (; i < text.size() && IsDigit(text[i]); ++i, ++digitCount)
            if (digitCount < 19)
                digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
    };
    takeDigits();
    if (i == mantissa)
        return false;
    std::size_t fractionDigits = 0;
    const std::size_t separator = i;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        const std::size_t fraction = ++i;
        takeDigits();
        if (i == fraction)
            return false;
        fractionDigits = i - fraction;
    }
    if (i == text.size() && digitCount <= 15 && fractionDigits < std::size(Powers)) {
        // A few digits and the power of ten are exact doubles, and their quotient is rounded
        // once: the same value as the general conversion gives, much faster.
        const double v = static_cast<double>(digits) / Powers[fractionDigits];
        value = negative ? -v : v;
        return true;
    }
    if (i < text.size()) {
        if (text[i] != 'E' && text[i] != 'e')
            return false;
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t exponent = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        if (i == exponent || i != text.size())
            return false;
    }
    // The text is now known to be well formed; from_chars rounds it correctly and does not
    // consult the locale.
    std::string number(text.substr(mantissa));
    if (separator < text.size() && text[separator] == ',')
        number[separator - mantissa] = '.';
    double v = 0;
    const char* last = number.data() + number.size();
    const auto [end, error] = std::from_chars(number.data(), last, v, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(v))
        return false;
    value = negative ? -v : v;
    return true;
}

bool ToSingle(double value, float& single) {
    const auto rounded = static_cast<float>(value);
    if (!std::isfinite(rounded) || (rounded == 0.0f && value != 0.0))
        return false;
    single = rounded;
    return true;
}

bool ParseSingle(std::string_view text, float& value) {
    double number = 0;
    return ParseNumber(text, number) && ToSingle(number, value);
}

} // namespace velkor
