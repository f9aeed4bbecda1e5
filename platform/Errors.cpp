#include "platform/Errors.h"

#include <cctype>
#include <climits>
#include <utility>

namespace velkor {

LostDeviceError::LostDeviceError(std::string portName, std::string systemText)
    : InOutError(systemText), portName_(std::move(portName)), systemText_(std::move(systemText)) {}

NotRegularFileError::NotRegularFileError(std::string fileName)
    : InOutError(fileName + " is not a regular file"), fileName_(std::move(fileName)) {}

NoLoggerDataError::NoLoggerDataError(std::string fileName)
    : InOutError("The file " + fileName + " holds no logger data"), fileName_(std::move(fileName)) {
}

int StrToInt(const std::string& text) {
    auto fail = [&]() -> int { throw ConvertError("'" + text + "' is not a valid integer value"); };
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return fail();
    long long value = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c))
            return fail();
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return fail();
    }
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return fail();
    return static_cast<int>(value);
}

} // namespace velkor
