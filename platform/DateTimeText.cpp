#include "platform/DateTimeText.h"

#include "platform/DateTime.h"

namespace velkor {

namespace {

// The text has the shape of the pattern: a digit where the pattern has '0', the same
// character elsewhere.
bool HasShape(std::string_view text, std::string_view shape) {
    if (text.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == '0' ? !digit : text[i] != shape[i])
            return false;
    }
    return true;
}

int Number(std::string_view text, std::size_t first, std::size_t count) {
    int value = 0;
    for (std::size_t i = first; i < first + count; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

} // namespace

std::optional<double> ParseDateTimeText(std::string_view text) {
    double result = 0;
    if (!HasShape(text, "0000-00-00 00:00:00") ||
        !TryEncodeDateTime(Number(text, 0, 4), Number(text, 5, 2), Number(text, 8, 2),
                           Number(text, 11, 2), Number(text, 14, 2), Number(text, 17, 2), 0,
                           result))
        return std::nullopt;
    return result;
}

std::optional<double> ParseTimeText(std::string_view text) {
    double result = 0;
    if (!HasShape(text, "00:00:00") ||
        !TryEncodeTime(Number(text, 0, 2), Number(text, 3, 2), Number(text, 6, 2), 0, result))
        return std::nullopt;
    return result;
}

} // namespace velkor
